#pragma once
// Shared pieces of the kavrolib suites: hex text, SHA-256 and the fixed
// pattern the known-answer buffers are filled with.

#include <gcrypt.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavro::test {

inline std::string Hex(const uint8_t* bytes, size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < n; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

inline std::vector<uint8_t> FromHex(std::string_view hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

inline std::string Sha256Hex(const std::vector<uint8_t>& data) {
  uint8_t digest[32];
  gcry_md_hash_buffer(GCRY_MD_SHA256, digest, data.data(), data.size());
  return Hex(digest, sizeof digest);
}

// Byte i of the known-answer buffers.
inline std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> data(n);
  for (size_t i = 0; i < n; ++i)
    data[i] = static_cast<uint8_t>((i * 131 + 17) ^ (i >> 9));
  return data;
}

inline std::span<const uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

inline constexpr std::string_view kPassphrase = "Halvering Sealworthiness";

}  // namespace kavro::test
