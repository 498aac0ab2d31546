#include "cabinet/capacity.h"

#include <gtest/gtest.h>

namespace vtq::cabinet {
namespace {

TEST(CapacityTest, LargestCabinetCountsHeadersNamesAndBlocks) {
  EXPECT_EQ(LargestCabinetBytes({1, 0, 5}), 44u + 17u + 5u);
  // One byte takes one block; 32768 bytes still one, 32769 two.
  EXPECT_EQ(LargestCabinetBytes({1, 1, 5}), 44u + 17u + 5u + 24u + 1u);
  EXPECT_EQ(LargestCabinetBytes({1, 32768, 5}), 44u + 17u + 5u + 24u + 32768u);
  EXPECT_EQ(LargestCabinetBytes({1, 32769, 5}), 44u + 17u + 5u + 48u + 32769u);
}

TEST(CapacityTest, SourcesUpToTheLimitFit) {
  EXPECT_EQ(CapacityProblem({3, 1'000'000'000, 30}), "");
  EXPECT_EQ(CapacityProblem({65535, 0, 65535 * 8}), "");
  const uint64_t blocks = 65000;  // a little under 2 GiB of data
  EXPECT_EQ(CapacityProblem({1, blocks * 32768, 8}), "");
}

TEST(CapacityTest, TwoGigabytesAndMoreAreRefusedWithTheirSize) {
  EXPECT_EQ(CapacityProblem({2, 2'147'483'648ull, 10}),
            "The files to pack hold 2147483648 bytes, more than one cabinet can hold (less than "
            "2 GB). No cabinet was written.");
  // Just under 2 GiB of data, but no room left for the blocks' headers.
  EXPECT_NE(CapacityProblem({1, 0x7FFFFFFFull - 100, 8}), "");
  EXPECT_NE(CapacityProblem({1, 5'000'000'000ull, 8}), "");
}

TEST(CapacityTest, MoreFilesThanTheTableHoldsAreRefused) {
  EXPECT_EQ(CapacityProblem({65536, 0, 65536}),
            "The 65536 files to pack are more than one cabinet can hold (65,535 files). No "
            "cabinet was written.");
}

}  // namespace
}  // namespace vtq::cabinet
