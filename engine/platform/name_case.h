#pragma once
// Folding the case of a file name for comparisons, the way the system's file
// names compare: on Windows every letter the system knows a case of (so "Ä"
// and "ä", "Ω" and "ω" are one name, as they are on disk), natively the
// ASCII letters.

#include <string>
#include <string_view>

namespace vtq {

std::string FoldNameCase(std::string_view name);

}  // namespace vtq
