#pragma once
// The system's own message for an error code, as the user reads it.

#include <string>

namespace vtq::base::win {

// Up to this many characters; a longer message (none of the system's is)
// gives the fallback text.
inline constexpr unsigned long kSystemMessageChars = 800;

// FormatMessage's text without its line end; "System error <code>" when the
// system has no text for the code.
std::wstring SystemErrorText(unsigned long code);

}  // namespace vtq::base::win
