// The field of the PAR 2.0 code: its generator seen in hand-computed
// products, the field laws on samples, the slice constants and matrix
// inversion.

#include "recovery/gf16.h"

#include <gtest/gtest.h>

#include <random>

namespace vtq::recovery {
namespace {

TEST(Gf16, HandComputedProductsShowTheGenerator) {
  // x^15 * x = x^16 = x^12 + x^3 + x + 1 under 0x1100B.
  EXPECT_EQ(GfMultiply(0x8000, 2), 0x100B);
  EXPECT_EQ(GfMultiply(0x8000, 4), 0x2016);
  EXPECT_EQ(GfMultiply(3, 3), 5);               // (x + 1)^2 = x^2 + 1
  EXPECT_EQ(GfMultiply(0x100, 0x100), 0x100B);  // x^8 * x^8
  EXPECT_EQ(GfPower(2, 16), 0x100B);
  EXPECT_EQ(GfPower(2, kGf16Order), 1);      // 2 is primitive...
  EXPECT_NE(GfPower(2, kGf16Order / 3), 1);  // ...of order exactly 65535
  EXPECT_NE(GfPower(2, kGf16Order / 5), 1);
  EXPECT_NE(GfPower(2, kGf16Order / 17), 1);
  EXPECT_NE(GfPower(2, kGf16Order / 257), 1);
  EXPECT_EQ(GfPower(0, 0), 1);
  EXPECT_EQ(GfPower(0, 5), 0);
}

TEST(Gf16, FieldLawsHoldOnSamples) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> word(0, 65535);
  for (int n = 0; n < 2000; ++n) {
    const auto a = static_cast<Gf16>(word(random));
    const auto b = static_cast<Gf16>(word(random));
    const auto c = static_cast<Gf16>(word(random));
    EXPECT_EQ(GfMultiply(a, b), GfMultiply(b, a));
    EXPECT_EQ(GfMultiply(GfMultiply(a, b), c), GfMultiply(a, GfMultiply(b, c)));
    EXPECT_EQ(GfMultiply(a, b ^ c), GfMultiply(a, b) ^ GfMultiply(a, c));
    EXPECT_EQ(GfMultiply(a, 1), a);
    EXPECT_EQ(GfMultiply(a, 0), 0);
    if (a != 0) {
      EXPECT_EQ(GfMultiply(a, GfInverse(a)), 1);
      EXPECT_EQ(GfDivide(GfMultiply(b, a), a), b);
    }
    EXPECT_EQ(GfMultiply(GfPower(a, 3), GfPower(a, 4)), GfPower(a, 7));
  }
}

TEST(Gf16, SliceConstantsArePowersOfTwoWithExponentsPrimeTo65535) {
  const std::vector<Gf16> first = InputSliceConstants(9);
  // Exponents 1, 2, 4, 7, 8, 11, 13, 14, 16 (3, 5, 6, 9, 10, 12, 15 share a factor).
  EXPECT_EQ(first, (std::vector<Gf16>{2, 4, 16, 128, 256, 2048, 8192, 16384, 0x100B}));
  const std::vector<Gf16> all = InputSliceConstants(kMaxInputSlices + 5);
  EXPECT_EQ(all.size(), kMaxInputSlices);
  std::vector<bool> seen(65536);
  for (const Gf16 c : all) {
    EXPECT_FALSE(seen[c]);
    seen[c] = true;
  }
}

TEST(Gf16, MatrixInversionSolvesAndRefusesSingularMatrices) {
  // A Vandermonde-like matrix of the code's constants is invertible.
  const size_t n = 5;
  const std::vector<Gf16> constants = InputSliceConstants(n);
  std::vector<Gf16> matrix(n * n);
  for (size_t r = 0; r < n; ++r) {
    for (size_t c = 0; c < n; ++c)
      matrix[r * n + c] = GfPower(constants[c], r);
  }
  std::vector<Gf16> inverse = matrix;
  ASSERT_TRUE(InvertMatrix(inverse, n));
  for (size_t r = 0; r < n; ++r) {
    for (size_t c = 0; c < n; ++c) {
      Gf16 sum = 0;
      for (size_t k = 0; k < n; ++k)
        sum ^= GfMultiply(matrix[r * n + k], inverse[k * n + c]);
      EXPECT_EQ(sum, r == c ? 1 : 0);
    }
  }
  std::vector<Gf16> singular = {1, 2, 1, 2};
  EXPECT_FALSE(InvertMatrix(singular, 2));
}

}  // namespace
}  // namespace vtq::recovery
