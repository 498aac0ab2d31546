#pragma once
// Names read from files and folders may hold control characters. Shown raw on
// a console, ESC sequences retitle or recolour the user's terminal and line
// breaks forge lines of their own; shown escaped they are only text.

#include <string>
#include <string_view>

namespace vtq {

// One character as it is shown: \n, \r, \t for those three, \xNN (two
// upper-case hex digits) for every other byte below 0x20 and for 0x7F, the
// character itself otherwise. Bytes from 0x80 on are letters of the ANSI
// code page and stay as they are.
std::string ShownCharacter(char c);
// The text with every control character shown as above, and the C1 control
// characters in UTF-8 (C2 80 to C2 9F, which a terminal takes for ESC
// sequences: C2 9B is CSI) as the two bytes \xC2\xNN.
std::string ShownText(std::string_view text);
bool IsControlCharacter(char c);

}  // namespace vtq
