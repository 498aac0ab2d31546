#pragma once
// A cabinet is outside input: the names stored in it decide where its files
// land. Only plain relative names below the extraction folder are taken.

#include <string>
#include <string_view>

namespace vtq::cabinet {

// Why `name` (separators "\" or "/") could not be written safely below an
// extraction folder; the empty text when it can.
std::string UnsafeEntryReason(std::string_view name);

}  // namespace vtq::cabinet
