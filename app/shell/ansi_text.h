#pragma once
// The one crossing between the shell's wide text and the engine's texts in
// the system's ANSI code page (raw bytes natively: code points below 256
// pass as one byte, others become "?").

#include <string>
#include <string_view>

namespace vtq::shell {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace vtq::shell
