// A drive's free room and size from the platform's figures: the extended
// query's full counts, the older query's 32-bit products and their failures.

#include "engine/disk_space.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using test::FakeDrives;

constexpr uint64_t kFiveGigabytes = 5ull * 1024 * 1024 * 1024;

FakeDrives::Drive WithFree(std::optional<uint64_t> bytes, std::optional<ClusterFigures> clusters) {
  return FakeDrives::Drive{DriveType::kFixed, bytes, clusters};
}

TEST(DiskFreeSpace, ExtendedQueryKeepsCountsBeyondFourGigabytes) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(kFiveGigabytes + 123, ClusterFigures{8, 512, 1000, 2000});
  EXPECT_EQ(DiskFreeSpace(drives, "C:\\").Whole(), static_cast<int64_t>(kFiveGigabytes + 123));
}

TEST(DiskFreeSpace, ExtendedQueryWithTopBytesSetIsAWholeUnsignedCount) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(0x0000'8001'0203'0405ull, std::nullopt);
  EXPECT_EQ(DiskFreeSpace(drives, "C:\\").Whole(), 0x0000'8001'0203'0405ll);
}

TEST(DiskFreeSpace, CountBeyondTheCurrencyRangeIsHeldAtItsLargestValue) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(UINT64_MAX, std::nullopt);
  EXPECT_EQ(DiskFreeSpace(drives, "C:\\").Whole(), INT64_MAX / Currency::kScale);
}

TEST(DiskFreeSpace, FailedExtendedQueryIsZeroWithoutFallingBack) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(std::nullopt, ClusterFigures{8, 512, 1000, 2000});
  EXPECT_EQ(DiskFreeSpace(drives, "C:\\"), Currency());
  EXPECT_EQ(DiskFreeSpace(drives, "Q:\\"), Currency());
}

TEST(DiskFreeSpace, WithoutExtendedQueryMultipliesTheClusterFigures) {
  FakeDrives drives;
  drives.extendedQuery = false;
  drives.drives["A:\\"] = WithFree(kFiveGigabytes, ClusterFigures{1, 512, 2847, 2847});
  EXPECT_EQ(DiskFreeSpace(drives, "A:\\").Whole(), 1457664);
}

TEST(DiskFreeSpace, WithoutExtendedQueryMoreThanALongIsZero) {
  FakeDrives drives;
  drives.extendedQuery = false;
  // 64 x 512 x 65536 = 2,147,483,648: one byte past the largest Long.
  drives.drives["C:\\"] = WithFree(std::nullopt, ClusterFigures{64, 512, 65536, 70000});
  drives.drives["D:\\"] = WithFree(std::nullopt, ClusterFigures{64, 512, 65535, 70000});
  drives.drives["E:\\"] = WithFree(std::nullopt, ClusterFigures{1, 1, 0x8000'0000u, 0x8000'0000u});
  drives.drives["F:\\"] =
      WithFree(std::nullopt, ClusterFigures{0xFFFF'FFFFu, 0xFFFF'FFFFu, 0xFFFF'FFFFu, 1});
  EXPECT_EQ(DiskFreeSpace(drives, "C:\\"), Currency());
  EXPECT_EQ(DiskFreeSpace(drives, "D:\\").Whole(), 2147450880);
  EXPECT_EQ(DiskFreeSpace(drives, "E:\\"), Currency());
  EXPECT_EQ(DiskFreeSpace(drives, "F:\\"), Currency());
  EXPECT_EQ(DiskFreeSpace(drives, "Q:\\"), Currency());
}

TEST(DiskCapacity, MultipliesTheTotalClusters) {
  FakeDrives drives;
  drives.drives["A:\\"] = WithFree(100, ClusterFigures{1, 512, 12, 2847});
  EXPECT_EQ(DiskCapacity(drives, "A:\\").Whole(), 1457664);
}

TEST(DiskCapacity, OverflowOrFailureIsZero) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(kFiveGigabytes, ClusterFigures{8, 512, 10, 524288});
  drives.drives["D:\\"] = WithFree(kFiveGigabytes, ClusterFigures{8, 512, 10, 524287});
  drives.drives["E:\\"] = WithFree(kFiveGigabytes, std::nullopt);
  EXPECT_EQ(DiskCapacity(drives, "C:\\"), Currency());
  EXPECT_EQ(DiskCapacity(drives, "D:\\").Whole(), 2147479552);
  EXPECT_EQ(DiskCapacity(drives, "E:\\"), Currency());
  EXPECT_EQ(DiskCapacity(drives, "Q:\\"), Currency());
}

}  // namespace
}  // namespace vtq
