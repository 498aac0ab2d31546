#pragma once
// The wildcard patterns that choose the files of a folder walk.

#include <string_view>

namespace vtq {

// Wildcard match with "*", "?", "#" (one digit) and bracketed character lists
// ("[abc]", "[a-z]", "[!x]"); case-sensitive.
bool WildcardMatch(std::string_view text, std::string_view pattern);

}  // namespace vtq
