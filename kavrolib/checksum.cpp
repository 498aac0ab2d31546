#include <zlib.h>

#include <algorithm>

#include "kavrolib/weave.h"

namespace kavro {

int32_t Getcheck(std::span<const uint8_t> data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes lengths as uInt; feed larger buffers in pieces.
  constexpr size_t kPiece = 1u << 30;
  for (size_t done = 0; done < data.size(); done += kPiece) {
    const size_t n = std::min(kPiece, data.size() - done);
    crc = crc32(crc, data.data() + done, static_cast<uInt>(n));
  }
  const auto c = static_cast<uint32_t>(crc);
  const auto folded = static_cast<uint16_t>((c >> 16) ^ (c & 0xFFFFu));
  return static_cast<int16_t>(folded);
}

}  // namespace kavro
