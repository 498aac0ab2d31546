#include "engine/shown_text.h"

namespace vtq {
namespace {

std::string HexEscape(char c) {
  constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
}

}  // namespace

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
  return HexEscape(c);
}

std::string ShownText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool c1 = static_cast<unsigned char>(c) == 0xC2 && i + 1 < text.size() &&
                    (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
    if (c1) {
      shown += "\\xC2" + HexEscape(text[++i]);
    } else if (IsControlCharacter(c)) {
      shown += ShownCharacter(c);
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace vtq
