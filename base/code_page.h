#pragma once
// The texts that stored files and older readers hold in the system's ANSI
// code page, one or two bytes a character: the names in fragment headers,
// the batch files' names, the passphrase bytes kavrolib enciphers with.
// Everything else inside is UTF-8 (base/utf8_text.h); this is the one
// crossing between the two.

#include <optional>
#include <string>
#include <string_view>

namespace vtq::base {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // `utf8` in the code page's bytes; nullopt when a character has no form
  // of its own there (a look-alike stand-in does not count: it would read
  // back as another name).
  virtual std::optional<std::string> Encode(std::string_view utf8) const = 0;
  // The code page's bytes as UTF-8.
  virtual std::string Decode(std::string_view bytes) const = 0;
};

// The system's ANSI code page. Natively file names are bytes and taken as
// UTF-8: every text is carried and passes as it is.
const CodePage& AnsiCodePage();
// The OEM code page a console starts with, in which cmd reads a batch
// file; the same as the ANSI one natively.
const CodePage& ConsoleCodePage();
// Latin-1 (code points below 256 as one byte each): the code page tests
// take where the system's carries every name.
const CodePage& Latin1CodePage();

}  // namespace vtq::base
