#pragma once
// The CRC-32 of zlib (ISO-HDLC, as PAR 2.0 and the check digits use it).

#include <cstdint>
#include <span>

namespace vtq::base {

// The CRC-32 of `bytes` continuing from `crc` (0 to start), of any length:
// zlib counts in 32 bits, so a larger region goes in parts.
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

}  // namespace vtq::base
