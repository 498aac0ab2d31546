#include "engine/file_list.h"

#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq {
namespace {

using test::ErrorOf;

const std::string S(1, kPathSeparator);

class FileListTest : public ::testing::Test {
 protected:
  // Creates dir/relative (and its folders) with `size` bytes; returns the full name.
  std::string Make(const std::string& relative, size_t size = 1) {
    const std::string name = dir / relative;
    const auto cut = name.rfind(kPathSeparator);
    test::MakeFolder(name.substr(0, cut));
    test::WriteBytes(name, test::PatternBytes(size));
    return name;
  }
  std::vector<std::string> Names() const { return {list.begin(), list.end()}; }

  test::TestPlatform doubles;
  Platform platform = doubles.Fake();
  Globals globals{platform};
  FileList list{globals};
  test::ScratchDir dir;
};

TEST_F(FileListTest, FirstOfTwoSameBaseNamesStays) {
  const std::string first = Make("a" + S + "report.txt");
  const std::string second = Make("b" + S + "report.txt");
  const std::string shouted = Make("c" + S + "REPORT.TXT");
  EXPECT_EQ(list.Add(first), 0);
  EXPECT_EQ(list.Add(second), 0);
  EXPECT_EQ(list.Add(shouted), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item(1), first);
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

#ifdef _WIN32
// Every letter the system knows a case of, in a code page or not: "Ärger"
// and "ärger", "Ωμέγα" and "ΩΜΈΓΑ" are one name each.
TEST_F(FileListTest, KeysFoldTheCaseOfEveryLetter) {
  const std::string upper = Make("a" + S + "\xC3\x84rger.txt");
  const std::string lower = Make("b" + S + "\xC3\xA4rger.txt");
  EXPECT_EQ(list.Add(upper), 0);
  EXPECT_EQ(list.Add(lower), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item("\xC3\xA4RGER.TXT"), upper);
  const std::string greek = Make("a" + S + "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt");
  EXPECT_EQ(list.Add(greek), 0);
  EXPECT_EQ(list.Add(Make("b" + S + "\xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91.TXT")), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item("\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt"), greek);
}
#endif

TEST_F(FileListTest, ItemByKeyTakesTheBaseNameOfAnyText) {
  const std::string report = Make("a" + S + "report.txt");
  list.Add(report);
  EXPECT_EQ(list.Item("X:" + S + "elsewhere" + S + "report.txt"), report);
  EXPECT_EQ(list.Item("report.txt"), report);
  EXPECT_EQ(list.Item("Report.TXT"), report);
  EXPECT_EQ(ErrorOf([&] { list.Item("other.txt"); }), err::kInvalidArgument);
}

TEST_F(FileListTest, RemoveUsesTheKeyUnchanged) {
  const std::string report = Make("a" + S + "report.txt");
  const std::string other = Make("a" + S + "other.txt");
  list.Add(report);
  list.Add(other);
  EXPECT_EQ(ErrorOf([&] { list.Remove(report); }), err::kInvalidArgument);
  EXPECT_EQ(list.Count(), 2);
  list.Remove("REPORT.txt");
  EXPECT_EQ(Names(), std::vector<std::string>{other});
  // Gone from the key index too: the same base name can come back.
  EXPECT_EQ(list.Add(report), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{other, report}));
}

TEST_F(FileListTest, NumbersArePositionsAndNumericTextsAreKeys) {
  const std::string one = Make("1.dat");
  const std::string two = Make("2.dat");
  const std::string three = Make("3");
  const std::string four = Make("x" + S + "4");
  for (const auto& name : {one, two, three, four})
    ASSERT_EQ(list.Add(name), 0);
  EXPECT_EQ(list.Item(3), three);
  EXPECT_EQ(list.Item("4"), four);
  EXPECT_EQ(list.Item("3"), three);
  EXPECT_EQ(ErrorOf([&] { list.Item("1"); }), err::kInvalidArgument);  // the key is "1.dat"
  EXPECT_EQ(ErrorOf([&] { list.Item(0); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.Item(5); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.Remove(-1); }), err::kInvalidArgument);
  list.Remove(1);
  EXPECT_EQ(list.Item(1), two);
  EXPECT_EQ(list.Count(), 3);
}

TEST_F(FileListTest, AFileThatWillNotOpenIsReportedAndLeftOut) {
  const std::string missing = dir / "missing.txt";
  EXPECT_EQ(list.Add(missing), err::kFileNotFound);
  EXPECT_EQ(list.Add(dir / ("nofolder" + S + "x.txt")), err::kPathNotFound);
  EXPECT_TRUE(list.Empty());
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  const auto& box = doubles.boxes.shown[0];
  EXPECT_EQ(box.text, "Unable to find " + missing + "\rThis file will not be processed.");
  EXPECT_EQ(box.title, "Pellworth Type Library");
  EXPECT_EQ(box.Icon(), mb::kIconCritical);
  EXPECT_EQ(box.Buttons(), mb::kOk);
}

TEST_F(FileListTest, NameUpToFirstDotIgnoresFolderDots) {
  const std::string big = Make("my.dir" + S + "big.zip.001");
  const std::string readme = Make("my.dir" + S + "readme");
  list.Add(big);
  list.Add(readme);
  EXPECT_EQ(list.NameUpToFirstDot(1), dir / ("my.dir" + S + "big."));
  EXPECT_EQ(list.NameUpToFirstDot("readme"), "");
}

TEST_F(FileListTest, SmallestFileIsReadFromTheDiskNow) {
  EXPECT_EQ(list.SmallestFile(), -1);
  list.Add(Make("five.bin", 5));
  list.Add(Make("three.bin", 3));
  list.Add(Make("nine.bin", 9));
  EXPECT_EQ(list.SmallestFile(), 3);
  test::WriteBytes(dir / "three.bin", {});
  EXPECT_EQ(list.SmallestFile(), 0);
  RemoveFile(dir / "nine.bin");
  EXPECT_EQ(ErrorOf([&] { list.SmallestFile(); }), err::kFileNotFound);
}

TEST_F(FileListTest, ClearStartsOver) {
  const std::string a = Make("a.txt");
  list.Add(a);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(ErrorOf([&] { list.Item("a.txt"); }), err::kInvalidArgument);
  EXPECT_EQ(list.Add(a), 0);
  EXPECT_EQ(list.Count(), 1);
}

class FolderContents : public FileListTest {
 protected:
  void SetUp() override {
    // The tree on disk and as the enumeration reports it: top holds a.txt,
    // README, sub (c.txt, a.txt again), gone.txt (listed but absent), b.txt.
    top = dir.Path() + "top" + S;
    Make("top" + S + "a.txt");
    Make("top" + S + "README");
    Make("top" + S + "sub" + S + "c.txt");
    Make("top" + S + "sub" + S + "a.txt");
    Make("top" + S + "b.txt");
    auto& f = doubles.fakeFolders;
    for (const auto& folder : {top, top + "sub" + S}) {
      f.AddFolder(folder + "*", ".");
      f.AddFolder(folder + "*", "..");
    }
    f.AddFile(top + "*", "a.txt");
    f.AddFile(top + "*", "README");
    f.AddFolder(top + "*", "sub");
    f.AddFile(top + "sub" + S + "*", "c.txt");
    f.AddFile(top + "sub" + S + "*", "a.txt");
    f.AddFile(top + "*", "gone.txt");
    f.AddFile(top + "*", "b.txt");
  }
  std::string top;
};

TEST_F(FolderContents, GathersDepthFirstAndReportsTheNewSize) {
  list.AddFolderContents(top);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{top + "a.txt", top + "sub" + S + "c.txt", top + "b.txt"}));
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Pellworth Type Library");  // gone.txt
  const auto& size = doubles.boxes.shown[1];
  EXPECT_EQ(size.text, "New size of file-list = 3");
  EXPECT_EQ(size.title, "");
  EXPECT_EQ(size.style, mb::kOk);
}

TEST_F(FolderContents, WithOrWithoutTrailingSeparator) {
  list.AddFolderContents(top.substr(0, top.size() - 1));
  const auto without = Names();
  list.Clear();
  list.AddFolderContents(top);
  EXPECT_EQ(Names(), without);
  EXPECT_EQ(without.size(), 3u);
}

TEST_F(FolderContents, PatternIsCaseSensitiveAndTheSizeBoxAlwaysComes) {
  list.AddFolderContents(top, "*.TXT");
  EXPECT_TRUE(list.Empty());
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text, "New size of file-list = 0");

  list.AddFolderContents(top, "README");
  EXPECT_EQ(Names(), std::vector<std::string>{top + "README"});
  EXPECT_EQ(doubles.boxes.shown.back().text, "New size of file-list = 1");
}

}  // namespace
}  // namespace vtq
