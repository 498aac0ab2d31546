#pragma once
// The digests of the PAR 2.0 format: MD5 from libgcrypt, CRC-32 from zlib.

#include <array>
#include <cstddef>
#include <cstdint>
#include "recovery/gcrypt_digest.h"

namespace vtq::recovery {

using Md5Digest = std::array<uint8_t, 16>;

class Md5 {
 public:
  void Update(const void* data, size_t size) { digest_.Update(data, size); }
  // The digest of everything given so far; the object is then spent.
  Md5Digest Finish();

 private:
  GcryptDigest digest_{DigestKind::kMd5};
};

Md5Digest Md5Of(const void* data, size_t size);

// The CRC-32 of `size` bytes continuing from `crc` (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
// The CRC-32 continued over `count` zero bytes.
uint32_t Crc32OfZeros(uint64_t count, uint32_t crc);

}  // namespace vtq::recovery
