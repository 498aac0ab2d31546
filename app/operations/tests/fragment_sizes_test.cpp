// Sizes in bytes from a number and a unit.
#include "app/operations/fragment_sizes.h"

#include <gtest/gtest.h>

namespace vtq {
namespace {

TEST(SizeToBytes, EachUnitAndTheRangeBounds) {
  EXPECT_EQ(SizeToBytes(10, kUnitKb), 10240);
  EXPECT_TRUE(WithinFragmentRange(SizeToBytes(10, kUnitKb)));
  EXPECT_FALSE(WithinFragmentRange(SizeToBytes(9, kUnitKb)));
  EXPECT_EQ(SizeToBytes(100, kUnitMb), 104857600);
  EXPECT_TRUE(WithinFragmentRange(SizeToBytes(100, kUnitMb)));
  EXPECT_FALSE(WithinFragmentRange(SizeToBytes(101, kUnitMb)));
  EXPECT_TRUE(WithinFragmentRange(SizeToBytes(102400, kUnitKb)));
  EXPECT_FALSE(WithinFragmentRange(SizeToBytes(102401, kUnitKb)));
  EXPECT_EQ(SizeToBytes(1, kUnitFloppy), 1457664);
  EXPECT_EQ(SizeToBytes(1423, kUnitBytes), 1423);
  EXPECT_EQ(SizeToBytes(1, 7), 0);
  EXPECT_EQ(SizeToBytes(1, -1), 0);
}

TEST(SizeToBytes, SmallerUnitsCountDownFromTheCustomSize) {
  const int64_t custom = SizeToBytes(1423, kUnitKb);
  EXPECT_EQ(custom, 1457152);
  EXPECT_EQ(SizeToBytes(5, kUnitKbSmaller, custom), 1452032);
  EXPECT_EQ(SizeToBytes(0, kUnitKbSmaller, custom), custom);
  EXPECT_EQ(SizeToBytes(1, kUnitMbSmaller, custom), custom - 1048576);
  EXPECT_EQ(SizeToBytes(2.5f, kUnitBytesSmaller, 1000), 998);  // 997.5 to even
  EXPECT_EQ(SizeToBytes(1.5f, kUnitBytesSmaller, 1000), 998);  // 998.5 to even
}

TEST(SizeToBytes, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(SizeToBytes(2.5f, kUnitBytes), 2);
  EXPECT_EQ(SizeToBytes(3.5f, kUnitBytes), 4);
  EXPECT_EQ(SizeToBytes(-2.5f, kUnitBytes), -2);
  EXPECT_EQ(SizeToBytes(0.5f / 1024, kUnitKb), 0);  // 0.5
  EXPECT_EQ(SizeToBytes(1.5f / 1024, kUnitKb), 2);  // 1.5
}

TEST(SizeToBytes, SinglePrecisionProducts) {
  // 2.88 is not exact in single precision; its product still lands on the
  // preset list's 2.88Mb.
  EXPECT_EQ(SizeToBytes(2.88f, kUnitMb), 3019899);
  // 12.3 x 1,457,664 is 17,929,267.48; in single precision the product
  // already lands on 17,929,268, where double precision would give ...267.
  EXPECT_EQ(SizeToBytes(12.3f, kUnitFloppy), 17929268);
  // A value far out of range stays out of range instead of wrapping.
  EXPECT_GT(SizeToBytes(3e9f, kUnitMb), kMaxFragmentBytes);
  EXPECT_GT(SizeToBytes(1e38f * 10, kUnitKb), kMaxFragmentBytes);  // infinity
}

TEST(PresetBytes, TheFourPresetsAndNothingElse) {
  EXPECT_EQ(PresetBytes(0), 730112);
  EXPECT_EQ(PresetBytes(1), 1457664);
  EXPECT_EQ(PresetBytes(2), 1745408);
  EXPECT_EQ(PresetBytes(3), 3019899);
  EXPECT_EQ(PresetBytes(4), 0);
  EXPECT_EQ(PresetBytes(-1), 0);
}

}  // namespace
}  // namespace vtq
