#include "engine/shown_text.h"

namespace vtq {

bool IsControlCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

std::string ShownCharacter(char c) {
  switch (c) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      break;
  }
  if (!IsControlCharacter(c))
    return std::string(1, c);
  constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
}

std::string ShownText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    if (IsControlCharacter(c))
      shown += ShownCharacter(c);
    else
      shown += c;
  }
  return shown;
}

}  // namespace vtq
