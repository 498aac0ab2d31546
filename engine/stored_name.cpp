#include "engine/stored_name.h"

namespace vtq {

std::string StoredName(std::string_view name, const base::CodePage& codePage) {
  // A code-page name that begins with the mark's bytes (in Windows-1252
  // "ï»¿...") would read back as UTF-8: it is stored as UTF-8 itself.
  if (const auto bytes = codePage.Encode(name); bytes && !bytes->starts_with(kUtf8NameMark))
    return *bytes;
  return std::string(kUtf8NameMark) + std::string(name);
}

std::string NameFromStored(std::string_view stored, const base::CodePage& codePage) {
  if (stored.starts_with(kUtf8NameMark))
    return std::string(stored.substr(kUtf8NameMark.size()));
  return codePage.Decode(stored);
}

}  // namespace vtq
