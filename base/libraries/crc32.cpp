#include "base/libraries/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace vtq::base {

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc) {
  constexpr size_t kPart = size_t{1} << 30;
  for (size_t done = 0; done < bytes.size(); done += kPart) {
    const size_t part = std::min(kPart, bytes.size() - done);
    crc = static_cast<uint32_t>(crc32(crc, bytes.data() + done, static_cast<uInt>(part)));
  }
  return crc;
}

}  // namespace vtq::base
