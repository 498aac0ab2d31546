#include "base/utf8_text.h"

#include <cstdint>

namespace vtq::base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendWide(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(c);
}

struct Decoded {
  char32_t c;
  size_t length;  // bytes taken; 1 for a byte that starts nothing
  bool valid;
  bool surrogate;
};

// One character at `at`; lone surrogates in their three-byte form are
// decoded (and reported) so that wide names made of them come back.
Decoded DecodeAt(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80)
    return {lead, 1, true, false};
  size_t length = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, least = 0x10000;
  } else {
    return {kReplacement, 1, false, false};
  }
  if (at + length > text.size())
    return {kReplacement, 1, false, false};
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(at + i);
    if ((next & 0xC0) != 0x80)
      return {kReplacement, 1, false, false};
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF)
    return {kReplacement, 1, false, false};
  return {c, length, !IsSurrogate(c), IsSurrogate(c)};
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    Append(out, c > 0x10FFFF ? kReplacement : c);
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const Decoded d = DecodeAt(text, at);
    AppendWide(out, d.c);
    at += d.length;
  }
  return out;
}

std::u16string ToUtf16(std::string_view text) {
  const std::wstring wide = FromUtf8(text);
  if constexpr (sizeof(wchar_t) == 2)
    return std::u16string(wide.begin(), wide.end());
  std::u16string out;
  for (const wchar_t c : wide) {
    auto code = static_cast<char32_t>(c);
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string FromUtf16(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    Append(out, c);
  }
  return out;
}

std::u32string CodePointsOf(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const Decoded d = DecodeAt(text, at);
    out += d.valid || d.surrogate ? d.c : char32_t{0xDC00} + static_cast<uint8_t>(text[at]);
    at += d.length;
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const Decoded d = DecodeAt(text, at);
    if (!d.valid)
      return false;
    at += d.length;
  }
  return true;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<uint8_t>(c) >= 0x80)
      return false;
  }
  return true;
}

}  // namespace vtq::base
