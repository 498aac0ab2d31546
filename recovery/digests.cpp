#include "recovery/digests.h"

#include <zlib.h>

#include <algorithm>

#include "base/libraries/crc32.h"

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
  return base::Crc32({static_cast<const uint8_t*>(data), size}, crc);
}

namespace {

// The CRC-32 of `count` zero bytes from the start, by doubling: a slice's
// zeros may run to gigabytes, and their CRC is wanted before (and often
// instead of) their MD5.
uint32_t CrcOfZerosAlone(uint32_t count) {
  static constexpr uint8_t kZero = 0;
  uint32_t result = 0;
  uint32_t power = Crc32(&kZero, 1);  // of 1, 2, 4, ... zeros
  for (uint32_t length = 1; count > 0; length *= 2, count >>= 1) {
    if (count & 1)
      result = static_cast<uint32_t>(crc32_combine(result, power, static_cast<z_off_t>(length)));
    if (count > 1)
      power = static_cast<uint32_t>(crc32_combine(power, power, static_cast<z_off_t>(length)));
  }
  return result;
}

}  // namespace

uint32_t Crc32OfZeros(uint64_t count, uint32_t crc) {
  static constexpr uint8_t kZeros[4096] = {};
  if (count <= sizeof kZeros)
    return Crc32(kZeros, static_cast<size_t>(count), crc);
  // In parts that z_off_t holds on every system (32 bits on Windows).
  constexpr uint32_t kPart = 1u << 30;
  while (count > 0) {
    const auto part = static_cast<uint32_t>(std::min<uint64_t>(count, kPart));
    crc = static_cast<uint32_t>(
        crc32_combine(crc, CrcOfZerosAlone(part), static_cast<z_off_t>(part)));
    count -= part;
  }
  return crc;
}

}  // namespace vtq::recovery
