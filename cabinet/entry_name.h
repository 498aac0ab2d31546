#pragma once
// A cabinet is outside input: the names stored in it decide where its files
// land. Only plain relative names below the extraction folder are taken.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vtq::cabinet {

// Why `name` (separators "\" or "/") could not be written safely below an
// extraction folder; the empty text when it can.
std::string UnsafeEntryReason(std::string_view name);

// The cabinet format's mark on an entry whose name is UTF-8 (_A_NAME_IS_UTF).
// Without it a name is in the writer's code page.
inline constexpr uint16_t kNameIsUtf8 = 0x80;
// The attribute bits a stored name (UTF-8) needs: the mark when the name is
// not plain ASCII, which every code page reads alike.
uint16_t NameAttributes(std::string_view storedName);
// The highest number of bytes a stored name may take (the format's 256
// with its terminator).
inline constexpr size_t kLongestStoredName = 255;

}  // namespace vtq::cabinet
