#include "recovery/gf16.h"

#include <array>
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

bool InvertMatrix(std::vector<Gf16>& m, size_t n) {
  std::vector<Gf16> inverse(n * n, 0);
  for (size_t i = 0; i < n; ++i)
    inverse[i * n + i] = 1;
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
    for (size_t row = 0; row < n; ++row) {
      const Gf16 factor = m[row * n + column];
      if (row == column || factor == 0)
        continue;
      for (size_t k = 0; k < n; ++k) {
        m[row * n + k] ^= GfMultiply(factor, m[column * n + k]);
        inverse[row * n + k] ^= GfMultiply(factor, inverse[column * n + k]);
      }
    }
  }
  m = std::move(inverse);
  return true;
}

}  // namespace vtq::recovery
