// Outside-view checks on Wine's simulated drives: the folder walk from a
// disk's root (which has no "." and ".." entries), given with and without
// its separator, and the drive test's messages on real drive letters.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/file_list.h"
#include "engine/globals.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/simulated_drive.h"

namespace vtq {
namespace {

using test::SimulatedDrive;

std::vector<std::string> Sorted(const FileList& list) {
  std::vector<std::string> names(list.begin(), list.end());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DriveWalkAcceptance, ADiskRootWithOrWithoutItsSeparator) {
  SimulatedDrive floppy('B');
  test::WriteText(floppy / "big.001", "one");
  test::WriteText(floppy / "README", "no dot");
  test::MakeFolder(floppy / "sub");
  test::WriteText(floppy / "sub\\big.002", "two");
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals(platform);

  FileList bare(globals), rooted(globals);
  bare.AddFolderContents("B:");
  rooted.AddFolderContents("B:\\");
  EXPECT_EQ(Sorted(bare), (std::vector<std::string>{"B:\\big.001", "B:\\sub\\big.002"}));
  EXPECT_EQ(Sorted(rooted), Sorted(bare));
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[1].text, "New size of file-list = 2");

  // No disk in the drive: nothing gathered, no error, the message all the same.
  floppy.Eject();
  FileList empty(globals);
  empty.AddFolderContents("B:");
  EXPECT_EQ(empty.Count(), 0);
  ASSERT_EQ(doubles.boxes.shown.size(), 3u);
  EXPECT_EQ(doubles.boxes.shown[2].text, "New size of file-list = 0");
}

TEST(DriveWalkAcceptance, DriveTestMessagesOnRealLetters) {
  const SimulatedDrive cdrom('R');
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals(platform);
  EXPECT_FALSE(globals.DiskRemovable(""));
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_FALSE(globals.DiskRemovable("r:\\setup"));
  EXPECT_FALSE(globals.DiskRemovable("R"));
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  for (const auto& box : doubles.boxes.shown) {
    EXPECT_EQ(box.text, "CD-ROM handler not yet present. Will be treated like hard-disk.");
    EXPECT_EQ(box.title, "CDROM Warning");
    EXPECT_EQ(box.style, mb::kOk | mb::kIconExclamation);
  }
}

}  // namespace
}  // namespace vtq
