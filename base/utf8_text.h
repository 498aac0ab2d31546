#pragma once
// The one text convention inside: names and texts are held as UTF-8, and
// wide text (UTF-16 on Windows, UTF-32 natively) is converted at the edges
// that speak it (the system's wide calls, BSTR, the window). Windows allows
// a lone surrogate in a file name; it passes as its own three-byte form
// (the "WTF-8" extension of UTF-8), so that every name the system hands out
// converts back to the same name. Lengths are explicit: NULs pass through.

#include <string>
#include <string_view>

namespace vtq::base {

std::string ToUtf8(std::wstring_view text);
// Bytes that are not UTF-8 become U+FFFD, one for each.
std::wstring FromUtf8(std::string_view text);

// UTF-16 on every platform, for formats that store it (PAR 2.0's Unicode
// file names).
std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);

// The code points of `text`, one a character; a byte that is not UTF-8
// stands as U+DC00 plus its value (as Python's "surrogateescape" has it),
// distinct from every character and from every other byte.
std::u32string CodePointsOf(std::string_view text);

// Whether `text` is well-formed UTF-8 (no lone surrogates, no overlong
// forms, nothing past U+10FFFF).
bool IsUtf8(std::string_view text);
bool IsAscii(std::string_view text);

}  // namespace vtq::base
