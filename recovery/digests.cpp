#include "recovery/digests.h"

#include <zlib.h>

#include <algorithm>

namespace vtq::recovery {

Md5Digest Md5::Finish() {
  const std::vector<uint8_t> bytes = digest_.Finish();
  Md5Digest digest{};
  std::copy(bytes.begin(), bytes.end(), digest.begin());
  return digest;
}

Md5Digest Md5Of(const void* data, size_t size) {
  Md5 md5;
  md5.Update(data, size);
  return md5.Finish();
}

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto* bytes = static_cast<const Bytef*>(data);
  // zlib counts in uInt; a region larger than that goes in parts.
  while (size > 0) {
    const auto part = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = static_cast<uint32_t>(crc32(crc, bytes, part));
    bytes += part;
    size -= part;
  }
  return crc;
}

uint32_t Crc32OfZeros(uint64_t count, uint32_t crc) {
  static constexpr uint8_t kZeros[4096] = {};
  while (count > 0) {
    const auto part = static_cast<size_t>(std::min<uint64_t>(count, sizeof kZeros));
    crc = Crc32(kZeros, part, crc);
    count -= part;
  }
  return crc;
}

}  // namespace vtq::recovery
