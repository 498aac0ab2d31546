#include "engine/globals.h"

#include <gtest/gtest.h>

#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

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

}  // namespace
}  // namespace vtq
