#include "engine/globals.h"

#include <gtest/gtest.h>

#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using test::FakeDrives;
using test::TestPlatform;

// The root a drive query is asked for: Windows reduces the text to its
// letter, the native build hands the text on to find its file system.
#ifdef _WIN32
const std::string kRootOfD = "D:\\";
const std::string kRootOfEmpty = ":\\";
#else
const std::string kRootOfD = "d";
const std::string kRootOfEmpty = "";
#endif

class DiskRemovableTest : public ::testing::Test {
 protected:
  void Type(const std::string& root, DriveType type) {
    doubles.fakeDrives.drives[root].type = type;
  }
  TestPlatform doubles;
  Platform platform = doubles.Fake();
  Globals globals{platform};
};

TEST_F(DiskRemovableTest, RemovableDriveIsTrueWithoutMessage) {
  Type(kRootOfD, DriveType::kRemovable);
  EXPECT_TRUE(globals.DiskRemovable("d"));
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(doubles.fakeDrives.typeQueries, std::vector<std::string>{kRootOfD});
}

TEST_F(DiskRemovableTest, CdRomWarnsOnEveryCallAndCountsAsHardDisk) {
  Type(kRootOfD, DriveType::kCdRom);
  EXPECT_FALSE(globals.DiskRemovable("d"));
  EXPECT_FALSE(globals.DiskRemovable("d"));
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  for (const auto& box : doubles.boxes.shown) {
    EXPECT_EQ(box.text, "CD-ROM handler not yet present. Will be treated like hard-disk.");
    EXPECT_EQ(box.title, "CDROM Warning");
    EXPECT_EQ(box.Icon(), mb::kIconExclamation);
    EXPECT_EQ(box.Buttons(), mb::kOk);
  }
}

TEST_F(DiskRemovableTest, OtherTypesAreFalseSilently) {
  for (const DriveType type : {DriveType::kUnknown, DriveType::kNoRootDir, DriveType::kFixed,
                               DriveType::kRemote, DriveType::kRamDisk}) {
    Type(kRootOfD, type);
    EXPECT_FALSE(globals.DiskRemovable("d")) << static_cast<unsigned>(type);
  }
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(DiskRemovableTest, EmptyDriveTextAsksForTheBareRootAndIsFalseSilently) {
  EXPECT_FALSE(globals.DiskRemovable(""));
  EXPECT_EQ(doubles.fakeDrives.typeQueries, std::vector<std::string>{kRootOfEmpty});
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

#ifdef _WIN32
TEST_F(DiskRemovableTest, OnlyTheFirstCharacterNamesTheDrive) {
  Type("A:\\", DriveType::kRemovable);
  for (const char* drive : {"a", "A:", "a:\\temp", "A:\\"})
    EXPECT_TRUE(globals.DiskRemovable(drive));
  EXPECT_EQ(doubles.fakeDrives.typeQueries, std::vector<std::string>(4, "A:\\"));
}
#endif

TEST(FragmentSizeLimits, AreBinaryMegabytesAndKilobytes) {
  TestPlatform doubles;
  Platform platform = doubles.Fake();
  const Globals globals(platform);
  EXPECT_EQ(globals.MaxFragSizeSupported(), Currency::FromWhole(104857600));
  EXPECT_EQ(globals.MinFragSizeSupported(), 10240);
}

constexpr uint64_t kFiveGigabytes = 5ull * 1024 * 1024 * 1024;

FakeDrives::Drive WithFree(std::optional<uint64_t> bytes, std::optional<ClusterFigures> clusters) {
  return FakeDrives::Drive{DriveType::kFixed, bytes, clusters};
}

TEST(DiskFreeSpace, ExtendedQueryKeepsCountsBeyondFourGigabytes) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(kFiveGigabytes + 123, ClusterFigures{8, 512, 1000, 2000});
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "C:\\").Whole(),
            static_cast<int64_t>(kFiveGigabytes + 123));
}

TEST(DiskFreeSpace, ExtendedQueryWithTopBytesSetIsAWholeUnsignedCount) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(0x0000'8001'0203'0405ull, std::nullopt);
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "C:\\").Whole(), 0x0000'8001'0203'0405ll);
}

TEST(DiskFreeSpace, CountBeyondTheCurrencyRangeIsHeldAtItsLargestValue) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(UINT64_MAX, std::nullopt);
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "C:\\").Whole(), INT64_MAX / Currency::kScale);
}

TEST(DiskFreeSpace, FailedExtendedQueryIsZeroWithoutFallingBack) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(std::nullopt, ClusterFigures{8, 512, 1000, 2000});
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "C:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "Q:\\"), Currency());
}

TEST(DiskFreeSpace, WithoutExtendedQueryMultipliesTheClusterFigures) {
  FakeDrives drives;
  drives.extendedQuery = false;
  drives.drives["A:\\"] = WithFree(kFiveGigabytes, ClusterFigures{1, 512, 2847, 2847});
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "A:\\").Whole(), 1457664);
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
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "C:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "D:\\").Whole(), 2147450880);
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "E:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "F:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskFreeSpace(drives, "Q:\\"), Currency());
}

TEST(DiskCapacity, MultipliesTheTotalClusters) {
  FakeDrives drives;
  drives.drives["A:\\"] = WithFree(100, ClusterFigures{1, 512, 12, 2847});
  EXPECT_EQ(GlobalSettings::DiskCapacity(drives, "A:\\").Whole(), 1457664);
}

TEST(DiskCapacity, OverflowOrFailureIsZero) {
  FakeDrives drives;
  drives.drives["C:\\"] = WithFree(kFiveGigabytes, ClusterFigures{8, 512, 10, 524288});
  drives.drives["D:\\"] = WithFree(kFiveGigabytes, ClusterFigures{8, 512, 10, 524287});
  drives.drives["E:\\"] = WithFree(kFiveGigabytes, std::nullopt);
  EXPECT_EQ(GlobalSettings::DiskCapacity(drives, "C:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskCapacity(drives, "D:\\").Whole(), 2147479552);
  EXPECT_EQ(GlobalSettings::DiskCapacity(drives, "E:\\"), Currency());
  EXPECT_EQ(GlobalSettings::DiskCapacity(drives, "Q:\\"), Currency());
}

TEST(IsNTPlatform, IsTheNtFamilyUnderWindowsOnly) {
#ifdef _WIN32
  EXPECT_TRUE(GlobalSettings::IsNTPlatform());
#else
  EXPECT_FALSE(GlobalSettings::IsNTPlatform());
#endif
}

}  // namespace
}  // namespace vtq
