#pragma once
// GetWord and ParentPath: small text routines of OrrinModules.

#include <string>
#include <string_view>

namespace orrin {

// The n-th word (from 1); words are separated by any number of blanks.
// "" when there is no such word.
std::wstring GetWord(std::wstring_view text, long n);

enum class PathPart { kParent = 0, kLast = 1 };  // pp_ReturnLeft, pp_ReturnCut

// The path without its last element, or (kLast) the last element alone. A
// trailing separator belongs to no element. A path without a separator has
// no parent ("") and is its own last element. An empty separator means "\".
std::wstring ParentPath(std::wstring_view path, PathPart part = PathPart::kParent,
                        std::wstring_view sep = L"\\");

}  // namespace orrin
