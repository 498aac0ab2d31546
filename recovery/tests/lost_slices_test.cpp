// The choice of recovery slices for a repair: PAR 2.0's known singular
// choices (slices 1 and 129 lost, and the like, with exponents 0 and 257)
// are refused alone and solved with one more slice; the inverse it gives
// reproduces the lost slices; dependent slices are passed over wherever
// they stand; too few give nothing.

#include "recovery/lost_slices.h"

#include <gtest/gtest.h>

namespace vtq::recovery {
namespace {

// Whether solution.inverse times the rows of the used exponents is the
// identity.
bool InvertsTheUsedRows(const LostSliceSolution& solution, const std::vector<Gf16>& lost,
                        const std::vector<uint32_t>& exponents) {
  const size_t m = lost.size();
  for (size_t k = 0; k < m; ++k) {
    for (size_t c = 0; c < m; ++c) {
      Gf16 sum = 0;
      for (size_t j = 0; j < m; ++j) {
        const Gf16 entry = GfPower(lost[c], exponents[solution.used[j]]);
        sum ^= GfMultiply(solution.inverse[k * m + j], entry);
      }
      if (sum != (k == c ? 1 : 0))
        return false;
    }
  }
  return true;
}

TEST(LostSlices, TheKnownSingularPairsNeedAThirdRecoverySlice) {
  const std::vector<Gf16> constants = InputSliceConstants(300);
  // Exponents 255 apart make constants that agree at every power that is a
  // multiple of 257: slices 0 and 128 (counted from 1: 1 and 129), and past
  // the exponent 257 that no slice has, 2 and 129, 100 and 227.
  for (const auto& [a, b] : {std::pair<size_t, size_t>{0, 128}, {2, 129}, {100, 227}}) {
    const std::vector<Gf16> lost = {constants[a], constants[b]};
    EXPECT_EQ(GfPower(lost[0], 257), GfPower(lost[1], 257)) << a << " " << b;
    EXPECT_FALSE(SolveLostSlices(lost, std::vector<uint32_t>{0, 257})) << a;
    EXPECT_FALSE(SolveLostSlices(lost, std::vector<uint32_t>{257, 514, 0})) << a;
    const std::vector<uint32_t> exponents = {0, 257, 3};
    const auto solution = SolveLostSlices(lost, exponents);
    ASSERT_TRUE(solution) << a;
    EXPECT_EQ(solution->used, (std::vector<size_t>{0, 2}));
    EXPECT_TRUE(InvertsTheUsedRows(*solution, lost, exponents));
  }
}

TEST(LostSlices, DependentSlicesArePassedOverWhereverTheyStand) {
  const std::vector<Gf16> constants = InputSliceConstants(400);
  // Two such pairs: the rows of 0, 257, 514 and 771 span only two
  // dimensions, and the solver goes on to 1 and 2.
  const std::vector<Gf16> lost = {constants[0], constants[128], constants[2], constants[129]};
  const std::vector<uint32_t> exponents = {0, 257, 514, 1, 771, 2, 3};
  const auto solution = SolveLostSlices(lost, exponents);
  ASSERT_TRUE(solution);
  EXPECT_EQ(solution->used, (std::vector<size_t>{0, 1, 3, 5}));
  EXPECT_TRUE(InvertsTheUsedRows(*solution, lost, exponents));
  // The first choice that works: the first m when they are independent.
  const auto plain = SolveLostSlices(lost, std::vector<uint32_t>{0, 1, 2, 3, 4});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->used, (std::vector<size_t>{0, 1, 2, 3}));
}

TEST(LostSlices, TooFewSlicesOrNoneLostGiveWhatTheySay) {
  const std::vector<Gf16> constants = InputSliceConstants(10);
  const std::vector<Gf16> lost = {constants[1], constants[4], constants[9]};
  EXPECT_FALSE(SolveLostSlices(lost, std::vector<uint32_t>{0, 1}));
  const auto none = SolveLostSlices({}, std::vector<uint32_t>{0, 1});
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->used.empty());
  EXPECT_TRUE(none->inverse.empty());
}

}  // namespace
}  // namespace vtq::recovery
