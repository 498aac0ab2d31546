#pragma once
// The system's temporary folder, where the commands put their temporary
// cabinets: GetTempPathW's answer without its trailing "\".

#include <cstdint>
#include <string>
#include <string_view>

namespace vtq {

// The size of the buffer the system writes the folder into, in characters.
inline constexpr uint32_t kTempPathBuffer = 255;

// The temporary folder in UTF-8; empty when the system has none to give.
std::string TempFolder();

// What TempFolder makes of the buffer and the length the system reported:
// that many characters, one trailing "\" removed. A length of 0 (the call
// failed) or beyond the buffer (the folder did not fit, nothing was
// written) gives an empty text.
std::string TempFolderFrom(std::string_view buffer, uint32_t reported);

}  // namespace vtq
