#include "helperlib/core/masking.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace orrin {
namespace {

using Bytes = std::vector<uint8_t>;

// Texts as UTF-8. Surrogates that do not pair up are kept as three bytes
// each, so that any wide text makes the round trip.
Bytes Utf8(std::wstring_view text) {
  Bytes out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
        const uint32_t low = static_cast<uint32_t>(text[i + 1]);
        if (low >= 0xDC00 && low < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (c < 0x80) {
      out.push_back(static_cast<uint8_t>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<uint8_t>(0xC0 | (c >> 6)));
      out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<uint8_t>(0xE0 | (c >> 12)));
      out.push_back(static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<uint8_t>(0xF0 | (c >> 18)));
      out.push_back(static_cast<uint8_t>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

void Append(std::wstring& text, uint32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    c -= 0x10000;
    text.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    text.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
  } else {
    text.push_back(static_cast<wchar_t>(c));
  }
}

// Bytes that are not UTF-8 (unmasked under a wrong key) become U+FFFD.
std::wstring FromUtf8(const Bytes& bytes) {
  std::wstring text;
  for (size_t i = 0; i < bytes.size();) {
    const uint8_t lead = bytes[i];
    const size_t length = lead < 0x80         ? 1
                          : (lead >> 5) == 6  ? 2
                          : (lead >> 4) == 14 ? 3
                          : (lead >> 3) == 30 ? 4
                                              : 0;
    uint32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1F
                 : length == 3 ? lead & 0x0F
                               : lead & 0x07;
    bool valid = length != 0 && i + length <= bytes.size();
    for (size_t k = 1; valid && k < length; ++k) {
      valid = (bytes[i + k] & 0xC0) == 0x80;
      c = (c << 6) | (bytes[i + k] & 0x3F);
    }
    if (!valid) {
      text.push_back(static_cast<wchar_t>(0xFFFD));
      ++i;
      continue;
    }
    Append(text, c);
    i += length;
  }
  return text;
}

// The key's stream of numbers: FNV-1a of the key seeds an xorshift
// generator.
class KeyStream {
 public:
  explicit KeyStream(std::wstring_view key) {
    uint32_t hash = 2166136261u;
    for (uint8_t byte : Utf8(key)) {
      hash ^= byte;
      hash *= 16777619u;
    }
    state_ = hash ? hash : 0x9E3779B9u;
  }
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

 private:
  uint32_t state_;
};

// The swaps of a key-driven shuffle of n positions, in the order made.
std::vector<std::pair<size_t, size_t>> Swaps(KeyStream& stream, size_t n) {
  std::vector<std::pair<size_t, size_t>> swaps;
  for (size_t i = n; i > 1; --i)
    swaps.emplace_back(i - 1, stream.Next() % i);
  return swaps;
}

Bytes Scramble(Bytes bytes, std::wstring_view key) {
  KeyStream stream(key);
  uint8_t previous = 0;
  for (uint8_t& byte : bytes) {
    byte = static_cast<uint8_t>(byte + stream.Next() + previous);
    previous = byte;
  }
  for (const auto& [a, b] : Swaps(stream, bytes.size()))
    std::swap(bytes[a], bytes[b]);
  return bytes;
}

Bytes Unscramble(Bytes bytes, std::wstring_view key) {
  KeyStream stream(key);
  std::vector<uint8_t> mixing(bytes.size());
  for (uint8_t& value : mixing)
    value = static_cast<uint8_t>(stream.Next());
  const auto swaps = Swaps(stream, bytes.size());
  for (auto it = swaps.rbegin(); it != swaps.rend(); ++it)
    std::swap(bytes[it->first], bytes[it->second]);
  uint8_t previous = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t masked = bytes[i];
    bytes[i] = static_cast<uint8_t>(masked - mixing[i] - previous);
    previous = masked;
  }
  return bytes;
}

std::wstring_view UsedMask(std::wstring_view mask) {
  return mask.empty() ? kDefaultMask : mask;
}

}  // namespace

std::optional<MaskFault> CheckMask(std::wstring_view mask) {
  if (!mask.empty() && mask.size() < 16)
    return MaskFault{1001, L"The mask for en/decryption MUST be at least 16 characters long!"};
  std::set<wchar_t> seen;
  for (wchar_t c : mask) {
    if (!seen.insert(c).second) {
      return MaskFault{1002, L"The character '" + std::wstring(1, c) +
                                 L"' in the CryptMask string occured more than once! Change the "
                                 L"string and reassign it to CryptMask."};
    }
  }
  return std::nullopt;
}

std::wstring KeyHide(std::wstring_view text, std::wstring_view key, std::wstring_view mask) {
  mask = UsedMask(mask);
  Bytes bytes = Utf8(text);
  if (bytes.size() % 2 != 0)
    bytes.insert(bytes.begin(), 0);
  std::wstring masked;
  masked.reserve(bytes.size() * 2);
  for (uint8_t byte : Scramble(std::move(bytes), key)) {
    masked.push_back(mask[byte / 16]);
    masked.push_back(mask[byte % 16]);
  }
  return masked;
}

std::optional<std::wstring> KeyShow(std::wstring_view masked, std::wstring_view key,
                                    std::wstring_view mask) {
  mask = UsedMask(mask).substr(0, 16);
  if (masked.size() % 4 != 0)
    return std::nullopt;
  Bytes bytes;
  bytes.reserve(masked.size() / 2);
  for (size_t i = 0; i < masked.size(); i += 2) {
    const size_t high = mask.find(masked[i]);
    const size_t low = mask.find(masked[i + 1]);
    if (high == std::wstring_view::npos || low == std::wstring_view::npos)
      return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  bytes = Unscramble(std::move(bytes), key);
  if (!bytes.empty() && bytes.front() == 0)
    bytes.erase(bytes.begin());
  return FromUtf8(bytes);
}

}  // namespace orrin
