#pragma once
// The digests of the PAR 2.0 format: MD5 from libgcrypt, CRC-32 from zlib.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vtq::recovery {

using Md5Digest = std::array<uint8_t, 16>;

class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;
  Md5(Md5&&) noexcept;
  Md5& operator=(Md5&&) noexcept;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is then spent.
  Md5Digest Finish();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

Md5Digest Md5Of(const void* data, size_t size);

// The CRC-32 of `size` bytes continuing from `crc` (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
// The CRC-32 continued over `count` zero bytes.
uint32_t Crc32OfZeros(uint64_t count, uint32_t crc);

}  // namespace vtq::recovery
