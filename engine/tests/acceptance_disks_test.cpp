// Outside-view checks of the folder walk on the real file system: the
// system's own enumeration behind FileList::AddFolderContents, with the
// folder given with and without its separator and with the default and
// upper-case patterns.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/file_list.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

#ifdef _WIN32
#include <windows.h>
#undef Yield
#endif

namespace vtq {
namespace {

const std::string S(1, kPathSeparator);

class RealFolderWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    // x\ holds a.txt, b.TXT, README, 0-byte empty.dat, sub\c.txt and
    // sub\deeper\d.bin; the order on disk is the file system's own, so the
    // checks compare sorted names.
    for (const std::string& name :
         {std::string("a.txt"), std::string("b.TXT"), std::string("README"),
          std::string("empty.dat"), "sub" + S + "c.txt", "sub" + S + "deeper" + S + "d.bin"}) {
      const std::string full = top + name;
      test::MakeFolder(full.substr(0, full.rfind(kPathSeparator)));
      test::WriteBytes(full, test::PatternBytes(name == "empty.dat" ? 0 : 3));
    }
  }
  std::vector<std::string> Gather(const std::string& folder, const std::string& pattern) {
    FileList list{globals};
    list.AddFolderContents(folder, pattern);
    std::vector<std::string> names(list.begin(), list.end());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ScratchDir dir;
  const std::string top = dir / ("x" + S);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
};

TEST_F(RealFolderWalk, WithOrWithoutTheSeparatorTheSameFiles) {
  const std::string bare = top.substr(0, top.size() - 1);
  const auto withSeparator = Gather(top, "*");
  EXPECT_EQ(withSeparator, Gather(bare, "*"));
  EXPECT_EQ(withSeparator, (std::vector<std::string>{top + "README", top + "a.txt", top + "b.TXT",
                                                     top + "empty.dat", top + "sub" + S + "c.txt",
                                                     top + "sub" + S + "deeper" + S + "d.bin"}));
  // Gathered names are whole: the folder, one separator, the name.
  for (const auto& name : Gather(bare, "*"))
    EXPECT_EQ(name.find(S + S), std::string::npos) << name;
}

TEST_F(RealFolderWalk, TheDefaultPatternNeedsADot) {
  FileList list{globals};
  list.AddFolderContents(top);
  std::vector<std::string> names(list.begin(), list.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{top + "a.txt", top + "b.TXT", top + "empty.dat",
                                             top + "sub" + S + "c.txt",
                                             top + "sub" + S + "deeper" + S + "d.bin"}));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text, "New size of file-list = 5");
  EXPECT_EQ(doubles.boxes.shown[0].style, mb::kOk);
  EXPECT_EQ(list.SmallestFile(), 0);
}

TEST_F(RealFolderWalk, PatternsAreCaseSensitiveEvenWhereTheDiskIsNot) {
  EXPECT_EQ(Gather(top, "*.TXT"), std::vector<std::string>{top + "b.TXT"});
  EXPECT_EQ(Gather(top, "*.txt"),
            (std::vector<std::string>{top + "a.txt", top + "sub" + S + "c.txt"}));
}

TEST_F(RealFolderWalk, AMissingFolderGivesNothingButTheSizeMessage) {
  FileList list{globals};
  list.AddFolderContents(dir / "gone");
  EXPECT_EQ(list.Count(), 0);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text, "New size of file-list = 0");
}

TEST_F(RealFolderWalk, NamesBeyondAsciiAreWalkedAndOpenedAsTheyAre) {
  // "café Æ.txt" and "写真 🎉.txt" in UTF-8; the tests' Windows runs with
  // the code page 1252, which carries only the first.
  const std::string name = top + "caf\xC3\xA9 \xC3\x86.txt";
  const std::string other = top + "\xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x8E\x89.txt";
  test::WriteBytes(name, test::PatternBytes(1));
  test::WriteBytes(other, test::PatternBytes(1));
  const auto names = Gather(top, "caf?*");
  EXPECT_EQ(names, std::vector<std::string>{name});
  doubles.boxes.shown.clear();
  EXPECT_EQ(Gather(top, "?? ?.txt"), std::vector<std::string>{other});
  EXPECT_TRUE(doubles.boxes.shown.size() == 1 &&
              doubles.boxes.shown[0].text == "New size of file-list = 1");
}

#ifdef _WIN32
// A file that another program holds open without sharing is found by the
// walk but fails its test open: it is reported and left out, the rest is
// added and the size message still follows.
TEST_F(RealFolderWalk, AFileHeldOpenElsewhereIsReportedAndLeftOut) {
  const std::string held = top + "a.txt";
  const HANDLE handle = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FileList list{globals};
  list.AddFolderContents(top, "*.txt");
  CloseHandle(handle);
  EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()),
            std::vector<std::string>{top + "sub" + S + "c.txt"});
  const auto& shown = doubles.boxes.shown;
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Unable to find " + held + "\x0D" + "This file will not be processed.");
  EXPECT_EQ(shown[0].title, "Pellworth Type Library");
  EXPECT_EQ(shown[0].style, mb::kOk | mb::kIconCritical);
  EXPECT_EQ(shown[1].text, "New size of file-list = 1");
}
#endif

}  // namespace
}  // namespace vtq
