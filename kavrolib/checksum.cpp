#include <gcrypt.h>

#include "base/libraries/crc32.h"
#include "base/libraries/gcrypt_start.h"
#include "kavrolib/weave.h"

namespace kavro {

// libgcrypt's CRC-32 is the same function as zlib's, several times faster
// where the processor multiplies carry-less. getcheck cannot report a
// failure, so when libgcrypt cannot open a context zlib answers instead.
uint32_t Crc32(std::span<const uint8_t> data) {
  gcry_md_hd_t h = nullptr;
  if (!vtq::base::StartGcrypt() || gcry_md_open(&h, GCRY_MD_CRC32, 0) != 0)
    return vtq::base::Crc32(data);
  gcry_md_write(h, data.data(), data.size());
  const uint8_t* d = gcry_md_read(h, GCRY_MD_CRC32);  // the value, most significant byte first
  const uint32_t crc =
      (uint32_t{d[0]} << 24) | (uint32_t{d[1]} << 16) | (uint32_t{d[2]} << 8) | d[3];
  gcry_md_close(h);
  return crc;
}

int32_t Getcheck(std::span<const uint8_t> data) {
  const uint32_t c = Crc32(data);
  const auto folded = static_cast<uint16_t>((c >> 16) ^ (c & 0xFFFFu));
  return static_cast<int16_t>(folded);
}

}  // namespace kavro
