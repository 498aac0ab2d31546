// Where a split puts the cabinet it packs, what it calls it, and that it
// goes again.
#include "app/operations/temporary_cabinet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/scratch.h"

namespace vtq {
namespace {

TEST(TemporaryCabinetFolder, TheDrivesRootUnlessNothingCanBeCreatedThere) {
  std::vector<std::string> probed;
  const auto rootOpen = [&](const std::string& folder) {
    probed.push_back(folder);
    return true;
  };
  EXPECT_EQ(TemporaryCabinetFolder("D:\\Users\\me\\Temp", rootOpen), "D:\\");
  EXPECT_EQ(probed, (std::vector<std::string>{"D:\\"}));
  // A system drive's root closed to standard users.
  const auto rootClosed = [](const std::string&) { return false; };
  EXPECT_EQ(TemporaryCabinetFolder("C:\\Users\\me\\Temp", rootClosed),
            WithTrailingSeparator("C:\\Users\\me\\Temp"));
  // A folder without a drive letter is used as it is.
  probed.clear();
  EXPECT_EQ(TemporaryCabinetFolder("/var/tmp", rootOpen), WithTrailingSeparator("/var/tmp"));
  EXPECT_TRUE(probed.empty());
}

TEST(CabinetNames, AFileUpToItsFirstDotAndAFolderByItsLastComponent) {
  EXPECT_EQ(FileCabinetName("C:\\", "C:\\DATA\\REPORT.DOC"), "C:\\REPORT.cab");
  EXPECT_EQ(FileCabinetName("C:\\", "C:\\DATA\\archive.tar.gz"), "C:\\archive.cab");
  EXPECT_EQ(FileCabinetName("C:\\", "C:\\DATA\\README"), "C:\\cab");
  // The first dot may lie in a folder's name.
  EXPECT_EQ(FileCabinetName("C:\\", "C:\\my.dir\\README"), "C:\\my.cab");
  EXPECT_EQ(FolderCabinetName("D:\\", "C:\\WORK"), "D:\\WORK.cab");
  EXPECT_EQ(FolderCabinetName("D:\\", "C:\\WORK\\"), "D:\\WORK.cab");
  EXPECT_EQ(FolderCabinetName("D:\\", "C:\\v1.2"), "D:\\v1.2.cab");
  // A drive's root by its letter, never "F:.cab".
  EXPECT_EQ(FolderCabinetName("D:\\", "F:\\"), "D:\\F.cab");
  EXPECT_EQ(FolderCabinetName("D:\\", "F:"), "D:\\F.cab");
}

TEST(CanCreateFilesIn, ProbesWithoutLeavingAnythingBehind) {
  test::ScratchDir dir;
  test::MakeFolder(dir / "place");
  // A probe name taken already is passed over, and left alone.
  test::WriteBytes(WithTrailingSeparator(dir / "place") + "~vtq0.tmp", {1, 2});
  EXPECT_TRUE(CanCreateFilesIn(dir / "place"));
  EXPECT_EQ(test::NamesIn(dir / "place"), (std::vector<std::string>{"~vtq0.tmp"}));
  EXPECT_FALSE(CanCreateFilesIn(dir / "absent"));
}

TEST(TemporaryCabinet, IsRemovedWhenTheSplitIsOver) {
  test::ScratchDir dir;
  const std::string name = dir / "WORK.cab";
  {
    const TemporaryCabinet cabinet(name);
    test::WriteBytes(name, {1, 2, 3});
  }
  EXPECT_FALSE(FileExists(name));
  // A cabinet that was never written is no error.
  { const TemporaryCabinet never(dir / "never.cab"); }
  EXPECT_TRUE(test::NamesIn(dir.Path()).empty());
}

}  // namespace
}  // namespace vtq
