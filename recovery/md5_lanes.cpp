#include "recovery/md5_lanes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "recovery/md5_lanes_x86.h"

namespace vtq::recovery {

namespace {

// Two messages already fill the vector loop's time for one block of the
// scalar loop.
constexpr size_t kLeastLanes = 2;

uint32_t RotateLeft(uint32_t x, int by) {
  return (x << by) | (x >> (32 - by));
}

uint32_t WordAt(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

struct Md5Lanes {
  static void Blocks(uint32_t* state, const uint8_t* data, size_t blocks) {
    for (size_t k = 0; k < blocks; ++k, data += 64) {
      uint32_t m[16];
      for (int w = 0; w < 16; ++w)
        m[w] = WordAt(data + 4 * w);
      uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
      // Unrolled, every step's function, constant and rotation is fixed.
#pragma GCC unroll 64
      for (int i = 0; i < 64; ++i) {
        uint32_t f;
        switch (i / 16) {
          case 0:
            f = d ^ (b & (c ^ d));
            break;
          case 1:
            f = c ^ (d & (b ^ c));
            break;
          case 2:
            f = b ^ c ^ d;
            break;
          default:
            f = c ^ (b | ~d);
            break;
        }
        const uint32_t sum = a + f + md5::kAdded[i] + m[md5::WordOfStep(i)];
        a = d;
        d = c;
        c = b;
        b += RotateLeft(sum, md5::kRotation[i / 16][i % 4]);
      }
      state[0] += a;
      state[1] += b;
      state[2] += c;
      state[3] += d;
    }
  }

  // The whole blocks of several messages, eight at a time while at least
  // two have blocks left.
  struct Run {
    uint32_t* state;
    const uint8_t* data;
    size_t blocks;
  };
  static void Together(std::vector<Run>& runs, Md5Path path) {
    if (path == Md5Path::kScalar) {
      for (const Run& run : runs)
        Blocks(run.state, run.data, run.blocks);
      return;
    }
    uint32_t spare[8][4];
    while (!runs.empty()) {
      const size_t lanes = std::min<size_t>(runs.size(), 8);
      if (lanes < kLeastLanes) {
        Blocks(runs[0].state, runs[0].data, runs[0].blocks);
        return;
      }
      uint32_t* states[8];
      const uint8_t* data[8];
      size_t blocks = runs[0].blocks;
      for (size_t l = 0; l < 8; ++l) {
        const bool used = l < lanes;
        states[l] = used ? runs[l].state : spare[l];
        data[l] = runs[used ? l : 0].data;
        if (used)
          blocks = std::min(blocks, runs[l].blocks);
      }
      x86::Md5EightLanes(path, states, data, blocks);
      for (size_t l = 0; l < lanes; ++l) {
        runs[l].data += 64 * blocks;
        runs[l].blocks -= blocks;
      }
      runs.erase(
          std::remove_if(runs.begin(), runs.end(), [](const Run& r) { return r.blocks == 0; }),
          runs.end());
    }
  }

  // What of `bytes` is left once the stream's pending block is filled (and
  // hashed when full); whole blocks of what is left are the caller's.
  static std::span<const uint8_t> TopUp(Md5Stream& s, std::span<const uint8_t> bytes) {
    const auto held = static_cast<size_t>(s.length_ % 64);
    s.length_ += bytes.size();
    if (held == 0)
      return bytes;
    const size_t part = std::min(64 - held, bytes.size());
    std::memcpy(s.pending_ + held, bytes.data(), part);
    if (held + part == 64)
      Blocks(s.state_, s.pending_, 1);
    return bytes.subspan(part);
  }
  static void KeepTail(Md5Stream& s, std::span<const uint8_t> rest) {
    const size_t tail = rest.size() % 64;
    if (tail > 0)
      std::memcpy(s.pending_, rest.data() + rest.size() - tail, tail);
  }
};

void Md5Stream::Update(std::span<const uint8_t> bytes) {
  const std::span<const uint8_t> rest = Md5Lanes::TopUp(*this, bytes);
  Md5Lanes::Blocks(state_, rest.data(), rest.size() / 64);
  Md5Lanes::KeepTail(*this, rest);
}

void Md5Stream::UpdateTogether(std::span<Md5Stream* const> streams,
                               std::span<const std::span<const uint8_t>> bytes, Md5Path path) {
  std::vector<Md5Lanes::Run> runs;
  runs.reserve(streams.size());
  for (size_t i = 0; i < streams.size(); ++i) {
    Md5Stream& s = *streams[i];
    const std::span<const uint8_t> rest = Md5Lanes::TopUp(s, bytes[i]);
    if (rest.size() >= 64)
      runs.push_back({s.state_, rest.data(), rest.size() / 64});
    Md5Lanes::KeepTail(s, rest);
  }
  Md5Lanes::Together(runs, path);
}

Md5Digest Md5Stream::Finish() {
  const uint64_t bits = length_ * 8;
  const auto held = static_cast<size_t>(length_ % 64);
  uint8_t last[128] = {};
  std::memcpy(last, pending_, held);
  last[held] = 0x80;
  const size_t blocks = held < 56 ? 1 : 2;
  for (int i = 0; i < 8; ++i)
    last[64 * blocks - 8 + i] = static_cast<uint8_t>(bits >> (8 * i));
  Md5Lanes::Blocks(state_, last, blocks);
  Md5Digest digest{};
  for (int w = 0; w < 4; ++w) {
    for (int i = 0; i < 4; ++i)
      digest[4 * w + i] = static_cast<uint8_t>(state_[w] >> (8 * i));
  }
  *this = Md5Stream();
  return digest;
}

std::vector<Md5Path> AvailableMd5Paths() {
  std::vector<Md5Path> paths;
  for (const Md5Path path : {Md5Path::kScalar, Md5Path::kAvx2, Md5Path::kAvx512}) {
    if (x86::Supports(path))
      paths.push_back(path);
  }
  return paths;
}

Md5Path FastestMd5Path() {
  static const Md5Path fastest = AvailableMd5Paths().back();
  return fastest;
}

const char* Md5PathName(Md5Path path) {
  switch (path) {
    case Md5Path::kScalar:
      return "scalar";
    case Md5Path::kAvx2:
      return "avx2";
    case Md5Path::kAvx512:
      return "avx512";
  }
  return "?";
}

}  // namespace vtq::recovery
