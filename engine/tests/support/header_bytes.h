#pragma once
// Reading and building series headers byte by byte in format tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/format.h"

namespace vtq::test {

inline std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

// The little-endian 16-bit word at `offset`.
inline uint16_t WordAt(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

// Format record, file record and, when the file record says so, the
// encryption record with the given key check.
inline std::string WholeHeader(const FileRecord& file, int16_t keyCheck = 0) {
  std::string header = EncodeFormatRecord(FormatRecord{}) + EncodeFileRecord(file);
  if (file.encrypted) {
    EncryptionRecord encryption;
    encryption.keyCheck = keyCheck;
    header += EncodeEncryptionRecord(encryption);
  }
  return header;
}

}  // namespace vtq::test
