#pragma once
// The steps of MD5 that the scalar loop and the vector loop share, and the
// vector loop itself: eight messages in the lanes of AVX2 registers,
// taken only where the processor has them.

#include <cstddef>
#include <cstdint>

#include "recovery/md5_lanes.h"

namespace vtq::recovery {

namespace md5 {

// The constant added in each of the 64 steps: the integer part of
// |sin(step + 1)| x 2^32.
inline constexpr uint32_t kAdded[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// The rotation of each step, by round (four per round, repeated).
inline constexpr int kRotation[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// The word of the block that step `i` adds.
constexpr int WordOfStep(int i) {
  switch (i / 16) {
    case 0:
      return i;
    case 1:
      return (5 * i + 1) % 16;
    case 2:
      return (3 * i + 5) % 16;
    default:
      return (7 * i) % 16;
  }
}

}  // namespace md5

namespace x86 {

bool Supports(Md5Path path);

// `blocks` 64-byte blocks from each of eight messages, `data[l]` and
// `states[l]` those of lane l (a lane may repeat another's data with a
// state of its own that is then thrown away). `path` is kAvx2 or kAvx512.
void Md5EightLanes(Md5Path path, uint32_t* const states[8], const uint8_t* const data[8],
                   size_t blocks);

}  // namespace x86
}  // namespace vtq::recovery
