#pragma once
// MD5 for many independent messages at once. The check of a recovery set
// hashes every byte of every file, and one MD5 runs at a fraction of the
// speed memory delivers: its steps depend on each other, so one message
// keeps one core busy. The blocks of eight messages, though, go through
// the eight 32-bit lanes of one AVX2 register together, one message per
// lane. libgcrypt hashes one message at a time and keeps its state to
// itself, so this MD5 is ours, checked against libgcrypt's in the tests.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "recovery/digests.h"

namespace vtq::recovery {

// How the blocks of several messages are hashed: one after the other, or
// eight at a time in the lanes of AVX2 registers, with AVX-512's
// instructions on them where the processor has those.
enum class Md5Path { kScalar, kAvx2, kAvx512 };
Md5Path FastestMd5Path();
const char* Md5PathName(Md5Path path);
// The paths this processor can take, slowest first.
std::vector<Md5Path> AvailableMd5Paths();

class Md5Stream {
 public:
  // One message's next bytes, alone.
  void Update(std::span<const uint8_t> bytes);
  // The digest of everything given so far; the stream then starts over.
  Md5Digest Finish();

  // Each stream's next bytes (any lengths, `bytes[i]` for `streams[i]`):
  // their whole blocks eight messages at a time where the processor can.
  // No stream may appear twice.
  static void UpdateTogether(std::span<Md5Stream* const> streams,
                             std::span<const std::span<const uint8_t>> bytes,
                             Md5Path path = FastestMd5Path());

 private:
  friend struct Md5Lanes;
  uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  uint64_t length_ = 0;
  uint8_t pending_[64] = {};
};

}  // namespace vtq::recovery
