#include "recovery/gf16.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace vtq::recovery {
namespace {

struct LogTables {
  std::array<uint16_t, 65536> log{};
  std::array<Gf16, 2 * kGf16Order> exp{};  // doubled: a sum of two logs indexes it directly
};

const LogTables& Tables() {
  static const LogTables tables = [] {
    LogTables t;
    uint32_t value = 1;
    for (uint32_t power = 0; power < kGf16Order; ++power) {
      t.exp[power] = static_cast<Gf16>(value);
      t.exp[power + kGf16Order] = static_cast<Gf16>(value);
      t.log[value] = static_cast<uint16_t>(power);
      value <<= 1;
      if (value & 0x10000)
        value ^= kGf16Generator;
    }
    return t;
  }();
  return tables;
}

}  // namespace

Gf16 GfMultiply(Gf16 a, Gf16 b) {
  if (a == 0 || b == 0)
    return 0;
  const LogTables& t = Tables();
  return t.exp[t.log[a] + t.log[b]];
}

Gf16 GfDivide(Gf16 a, Gf16 b) {
  if (a == 0)
    return 0;
  const LogTables& t = Tables();
  return t.exp[t.log[a] + kGf16Order - t.log[b]];
}

Gf16 GfPower(Gf16 base, uint64_t exponent) {
  if (exponent == 0)
    return 1;
  if (base == 0)
    return 0;
  const LogTables& t = Tables();
  return t.exp[(t.log[base] * (exponent % kGf16Order)) % kGf16Order];
}

Gf16 GfInverse(Gf16 a) {
  return GfDivide(1, a);
}

std::vector<Gf16> InputSliceConstants(size_t count) {
  std::vector<Gf16> constants;
  constants.reserve(count);
  const LogTables& t = Tables();
  for (uint32_t n = 0; constants.size() < count && n < kGf16Order; ++n) {
    if (n % 3 != 0 && n % 5 != 0 && n % 17 != 0 && n % 257 != 0)
      constants.push_back(t.exp[n]);
  }
  return constants;
}

RegionMultiplier::RegionMultiplier(Gf16 factor) : factor_(factor) {
  // Multiplication by a constant is linear over GF(2): each table entry is
  // the XOR of the products of its set bits.
  Gf16 lowBits[8];
  Gf16 highBits[8];
  for (int bit = 0; bit < 8; ++bit) {
    lowBits[bit] = GfMultiply(factor, static_cast<Gf16>(1u << bit));
    highBits[bit] = GfMultiply(factor, static_cast<Gf16>(1u << (bit + 8)));
  }
  low_[0] = 0;
  high_[0] = 0;
  for (unsigned byte = 1; byte < 256; ++byte) {
    const int lowest = __builtin_ctz(byte);
    low_[byte] = low_[byte & (byte - 1)] ^ lowBits[lowest];
    high_[byte] = high_[byte & (byte - 1)] ^ highBits[lowest];
  }
  for (int k = 0; k < 4; ++k) {
    for (unsigned nibble = 0; nibble < 16; ++nibble) {
      const Gf16 product = Times(static_cast<Gf16>(nibble << (4 * k)));
      nibbleLow_[k][nibble] = static_cast<uint8_t>(product);
      nibbleHigh_[k][nibble] = static_cast<uint8_t>(product >> 8);
    }
  }
}

// The word-wide loop below reads the little-endian words of the data as
// the lanes of a native integer.
static_assert(std::endian::native == std::endian::little);

namespace {

// GCC's vector shuffle; clang (the fuzzing build) takes the byte tables.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__clang__)
#define VTQ_NIBBLE_SHUFFLE 1
using Bytes16 = uint8_t __attribute__((vector_size(16)));

bool HasByteShuffle() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

// Sixteen words (32 bytes) a step; returns the bytes done.
__attribute__((target("ssse3"))) size_t NibbleMultiplyAdd(const uint8_t (*lowTables)[16],
                                                          const uint8_t (*highTables)[16],
                                                          const uint8_t* in, uint8_t* out,
                                                          size_t bytes) {
  Bytes16 low[4];
  Bytes16 high[4];
  for (int k = 0; k < 4; ++k) {
    std::memcpy(&low[k], lowTables[k], 16);
    std::memcpy(&high[k], highTables[k], 16);
  }
  const Bytes16 evens = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30};
  const Bytes16 odds = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31};
  const Bytes16 firstHalf = {0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23};
  const Bytes16 secondHalf = {8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31};
  const Bytes16 nibble = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    Bytes16 a;
    Bytes16 b;
    std::memcpy(&a, in + i, 16);
    std::memcpy(&b, in + i + 16, 16);
    // The words' low bytes and high bytes, each in a vector of their own.
    const Bytes16 lowBytes = __builtin_shuffle(a, b, evens);
    const Bytes16 highBytes = __builtin_shuffle(a, b, odds);
    const Bytes16 n0 = lowBytes & nibble;
    const Bytes16 n1 = (lowBytes >> 4) & nibble;
    const Bytes16 n2 = highBytes & nibble;
    const Bytes16 n3 = (highBytes >> 4) & nibble;
    const Bytes16 productLow = __builtin_shuffle(low[0], n0) ^ __builtin_shuffle(low[1], n1) ^
                               __builtin_shuffle(low[2], n2) ^ __builtin_shuffle(low[3], n3);
    const Bytes16 productHigh = __builtin_shuffle(high[0], n0) ^ __builtin_shuffle(high[1], n1) ^
                                __builtin_shuffle(high[2], n2) ^ __builtin_shuffle(high[3], n3);
    Bytes16 x;
    Bytes16 y;
    std::memcpy(&x, out + i, 16);
    std::memcpy(&y, out + i + 16, 16);
    x ^= __builtin_shuffle(productLow, productHigh, firstHalf);
    y ^= __builtin_shuffle(productLow, productHigh, secondHalf);
    std::memcpy(out + i, &x, 16);
    std::memcpy(out + i + 16, &y, 16);
  }
  return i;
}
#endif

}  // namespace

void RegionMultiplier::MultiplyAdd(const uint8_t* in, uint8_t* out, size_t bytes, Path path) const {
  size_t i = 0;
#ifdef VTQ_NIBBLE_SHUFFLE
  if (path == Path::kFastest && HasByteShuffle())
    i = NibbleMultiplyAdd(nibbleLow_, nibbleHigh_, in, out, bytes);
#endif
  // Four words per 64-bit load and store; the lookups of the eight bytes
  // are independent, so the processor overlaps them.
  for (; i + 8 <= bytes; i += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, in + i, 8);
    std::memcpy(&y, out + i, 8);
    const uint64_t w0 = low_[x & 0xFF] ^ high_[(x >> 8) & 0xFF];
    const uint64_t w1 = low_[(x >> 16) & 0xFF] ^ high_[(x >> 24) & 0xFF];
    const uint64_t w2 = low_[(x >> 32) & 0xFF] ^ high_[(x >> 40) & 0xFF];
    const uint64_t w3 = low_[(x >> 48) & 0xFF] ^ high_[x >> 56];
    y ^= w0 | (w1 << 16) | (w2 << 32) | (w3 << 48);
    std::memcpy(out + i, &y, 8);
  }
  for (; i + 2 <= bytes; i += 2) {
    const Gf16 word = static_cast<Gf16>(in[i] | (in[i + 1] << 8));
    const Gf16 product = Times(word);
    out[i] ^= static_cast<uint8_t>(product);
    out[i + 1] ^= static_cast<uint8_t>(product >> 8);
  }
}

bool InvertMatrix(std::vector<Gf16>& m, size_t n) {
  std::vector<Gf16> inverse(n * n, 0);
  for (size_t i = 0; i < n; ++i)
    inverse[i * n + i] = 1;
  const auto bytesOf = [n](std::vector<Gf16>& matrix, size_t row) {
    return reinterpret_cast<uint8_t*>(&matrix[row * n]);
  };
  for (size_t column = 0; column < n; ++column) {
    size_t pivot = column;
    while (pivot < n && m[pivot * n + column] == 0)
      ++pivot;
    if (pivot == n)
      return false;
    if (pivot != column) {
      for (size_t k = 0; k < n; ++k) {
        std::swap(m[pivot * n + k], m[column * n + k]);
        std::swap(inverse[pivot * n + k], inverse[column * n + k]);
      }
    }
    const Gf16 scale = GfInverse(m[column * n + column]);
    for (size_t k = 0; k < n; ++k) {
      m[column * n + k] = GfMultiply(m[column * n + k], scale);
      inverse[column * n + k] = GfMultiply(inverse[column * n + k], scale);
    }
    // The elimination is n^3 multiplications: each row takes the pivot row
    // as one region multiplied and added, as the data's slices are.
    for (size_t row = 0; row < n; ++row) {
      const Gf16 factor = m[row * n + column];
      if (row == column || factor == 0)
        continue;
      const RegionMultiplier times(factor);
      times.MultiplyAdd(bytesOf(m, column), bytesOf(m, row), n * sizeof(Gf16));
      times.MultiplyAdd(bytesOf(inverse, column), bytesOf(inverse, row), n * sizeof(Gf16));
    }
  }
  m = std::move(inverse);
  return true;
}

}  // namespace vtq::recovery
