#pragma once
// The one crossing between wide text (the shell, the automation layer,
// the registry) and the texts that fragment headers, batch files, the file
// APIs and kavrolib take: those are in the system's ANSI code page. On
// Windows the conversion is the system's; natively the ANSI code page is
// taken as Latin-1 (code points below 256 pass as one byte, others become
// "?"). Lengths are explicit: embedded NULs pass through.

#include <string>
#include <string_view>

namespace vtq::base {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace vtq::base
