#pragma once
// How a source name is kept in a first fragment: the own format's file
// record and the older format's name-and-escape prefix. Every version
// before this one stored the name in the writer's ANSI code page, and older
// readers still show it that way, so a name the code page carries is stored
// in it as always. A name it cannot carry is stored as the three bytes
// EF BB BF (the UTF-8 byte-order mark) followed by the name in UTF-8. A
// reader takes a stored name that begins with those bytes as UTF-8 and any
// other as code-page text: every name an earlier version wrote reads back
// as it did, whatever its bytes look like. docs/fragment-names.md has the
// rule for other readers.

#include <string>
#include <string_view>

#include "base/code_page.h"

namespace vtq {

inline constexpr std::string_view kUtf8NameMark = "\xEF\xBB\xBF";

// The bytes that stand for `name` (UTF-8) in a header.
std::string StoredName(std::string_view name, const base::CodePage& codePage);
// The name (UTF-8) that stored bytes stand for.
std::string NameFromStored(std::string_view stored, const base::CodePage& codePage);

}  // namespace vtq
