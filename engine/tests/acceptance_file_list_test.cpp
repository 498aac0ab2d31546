// Outside-view checks of the file list and the folder walk behind it: the
// order of its tests, its messages, its keys and positions, beyond the cases
// of file_list_test.cpp and folder_walk_test.cpp.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/error.h"
#include "engine/file_list.h"
#include "engine/folder_walk.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/wildcard.h"

namespace vtq {
namespace {

using test::ErrorOf;

const std::string S(1, kPathSeparator);

class ListAcceptance : public ::testing::Test {
 protected:
  std::string Make(const std::string& relative, size_t size = 1) {
    const std::string name = dir / relative;
    test::MakeFolder(name.substr(0, name.rfind(kPathSeparator)));
    test::WriteBytes(name, test::PatternBytes(size));
    return name;
  }
  std::vector<std::string> Names() const { return {list.begin(), list.end()}; }
  const std::vector<test::ShownBox>& Boxes() const { return doubles.boxes.shown; }

  void ExpectUnableToFind(const test::ShownBox& box, const std::string& name) {
    EXPECT_EQ(box.text, "Unable to find " + name + "\x0D" + "This file will not be processed.");
    EXPECT_EQ(box.title, "Pellworth Type Library");
    EXPECT_EQ(box.style, mb::kOk | mb::kIconCritical);
  }

  test::TestPlatform doubles;
  Platform platform = doubles.Fake();
  Globals globals{platform};
  FileList list{globals};
  test::ScratchDir dir;
};

TEST_F(ListAcceptance, TheTestOpenComesBeforeTheKeyCheck) {
  // A missing file is reported even when its base name is already listed.
  const std::string present = Make("a" + S + "report.txt");
  ASSERT_EQ(list.Add(present), 0);
  test::MakeFolder(dir / "b");
  const std::string missing = dir / ("b" + S + "report.txt");
  EXPECT_EQ(list.Add(missing), err::kFileNotFound);
  ASSERT_EQ(Boxes().size(), 1u);
  ExpectUnableToFind(Boxes()[0], missing);
  EXPECT_EQ(Names(), std::vector<std::string>{present});
}

TEST_F(ListAcceptance, FoldersAndEmptyNamesDoNotOpenAsFiles) {
  const std::string folder = dir / "folder";
  test::MakeFolder(folder);
  EXPECT_NE(list.Add(folder), 0);
  EXPECT_NE(list.Add(""), 0);
  EXPECT_TRUE(list.Empty());
  ASSERT_EQ(Boxes().size(), 2u);
  ExpectUnableToFind(Boxes()[0], folder);
  ExpectUnableToFind(Boxes()[1], "");
}

TEST_F(ListAcceptance, ANameIsKeptExactlyAsItWasAdded) {
  // Folders, case and all: the list stores the text it was given.
  const std::string mixed = Make("Mixed.Dir" + S + "Data.BIN");
  EXPECT_EQ(list.Add(mixed), 0);
  EXPECT_EQ(list.Item(1), mixed);
  EXPECT_EQ(list.Item("data.bin"), mixed);
  EXPECT_EQ(list.Item("elsewhere" + S + "DATA.bin"), mixed);
  EXPECT_EQ(list.NameUpToFirstDot("data.bin"), dir / ("Mixed.Dir" + S + "Data."));
}

TEST_F(ListAcceptance, NumericTextsNeverCountAsPositions) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    list.Add(Make(name));
  EXPECT_EQ(list.Item(3), dir / "c.txt");
  EXPECT_EQ(ErrorOf([&] { list.Item("3"); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.Remove("3"); }), err::kInvalidArgument);
  EXPECT_EQ(list.Count(), 3);
  const std::string three = Make("x" + S + "3");
  list.Add(three);
  EXPECT_EQ(list.Item("3"), three);
  EXPECT_EQ(list.Item(3), dir / "c.txt");
  list.Remove("3");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(ErrorOf([&] { list.Item(4); }), err::kInvalidArgument);
}

TEST_F(ListAcceptance, FailedRemovalsLeaveTheListAsItWas) {
  const std::string a = Make("a.txt");
  const std::string b = Make("b.txt");
  list.Add(a);
  list.Add(b);
  for (const ItemIndex& bad : {ItemIndex(0), ItemIndex(3), ItemIndex(-1), ItemIndex(a),
                               ItemIndex("c.txt"), ItemIndex("")}) {
    EXPECT_EQ(ErrorOf([&] { list.Remove(bad); }), err::kInvalidArgument);
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ListAcceptance, RemovingInTheMiddleRenumbersTheRest) {
  std::vector<std::string> names;
  for (const char* name : {"1.a", "2.a", "3.a", "4.a"})
    names.push_back(Make(name));
  for (const auto& name : names)
    list.Add(name);
  list.Remove(2);
  list.Remove("3.a");
  EXPECT_EQ(list.Item(1), names[0]);
  EXPECT_EQ(list.Item(2), names[3]);
  EXPECT_EQ(list.Count(), 2);
  list.Add(names[1]);  // back at the end
  EXPECT_EQ(Names(), (std::vector<std::string>{names[0], names[3], names[1]}));
}

TEST_F(ListAcceptance, TheEnumeratorWalksTheNamesAsTheyWereWhenItWasTaken) {
  const std::string a = Make("a.txt");
  const std::string b = Make("b.txt");
  list.Add(b);
  list.Add(a);
  std::vector<std::string> walked;
  for (const auto& name : list.NewEnum()) {
    walked.push_back(name);
    list.Remove(1);  // the walk goes on over what it was given
  }
  EXPECT_EQ(walked, (std::vector<std::string>{b, a}));
  EXPECT_TRUE(list.NewEnum().empty());
}

TEST_F(ListAcceptance, NameUpToFirstDotOfAnUnknownEntryFails) {
  list.Add(Make("big.zip.001"));
  EXPECT_EQ(list.NameUpToFirstDot(1), dir / "big.");
  EXPECT_EQ(list.NameUpToFirstDot("other" + S + "big.zip.001"), dir / "big.");
  EXPECT_EQ(ErrorOf([&] { list.NameUpToFirstDot(2); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.NameUpToFirstDot("big.zip"); }), err::kInvalidArgument);
}

TEST_F(ListAcceptance, SmallestFileTakesAZeroByteFirstEntry) {
  // A running value of -1 means "none yet"; 0 is a real size and must stay.
  list.Add(Make("empty.bin", 0));
  list.Add(Make("ten.bin", 10));
  EXPECT_EQ(list.SmallestFile(), 0);
  list.Clear();
  list.Add(Make("seven.bin", 7));
  EXPECT_EQ(list.SmallestFile(), 7);
  list.Add(Make("last.bin", 2));
  EXPECT_EQ(list.SmallestFile(), 2);
  list.Remove("last.bin");
  EXPECT_EQ(list.SmallestFile(), 7);
  list.Clear();
  EXPECT_EQ(list.SmallestFile(), -1);
}

TEST_F(ListAcceptance, SmallestFileOfAVanishedFileIsFileNotFound) {
  list.Add(Make("gone.bin", 3));
  RemoveFile(dir / "gone.bin");
  EXPECT_EQ(ErrorOf([&] { list.SmallestFile(); }), err::kFileNotFound);
  EXPECT_EQ(list.Count(), 1);  // the list holds names only; it still has the entry
}

TEST_F(ListAcceptance, SmallestFileWhoseFolderVanishedIsFileNotFoundToo) {
  const std::string folder = dir / "card";
  list.Add(Make("card" + S + "gone.bin", 3));
  RemoveFile(folder + S + "gone.bin");
  std::filesystem::remove(folder);
  EXPECT_EQ(ErrorOf([&] { list.SmallestFile(); }), err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { FileLength(folder + S + "gone.bin"); }), err::kFileNotFound);
}

class FolderAcceptance : public ListAcceptance {
 protected:
  // Adds folder (ending in the separator) to the fake enumeration with its
  // "." and ".." entries.
  void Folder(const std::string& folder) {
    doubles.fakeFolders.AddFolder(folder + "*", ".");
    doubles.fakeFolders.AddFolder(folder + "*", "..");
  }
  void File(const std::string& folder, const std::string& name, size_t size = 1) {
    doubles.fakeFolders.AddFile(folder + "*", name);
    test::MakeFolder(folder);
    test::WriteBytes(folder + name, test::PatternBytes(size));
  }
};

TEST_F(FolderAcceptance, TheSizeMessageCountsTheWholeList) {
  list.Add(Make("earlier.txt"));
  list.AddFolderContents(dir / "nowhere");  // cannot be enumerated: nothing, no error
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "New size of file-list = 1");
  EXPECT_EQ(Boxes()[0].title, "");
  EXPECT_EQ(Boxes()[0].style, mb::kOk);

  const std::string top = dir / ("top" + S);
  Folder(top);
  File(top, "one.txt");
  File(top, "earlier.txt");  // base name already listed: dropped without a word
  File(top, "two.txt");
  list.AddFolderContents(top);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{dir / "earlier.txt", top + "one.txt", top + "two.txt"}));
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].text, "New size of file-list = 3");
}

TEST_F(FolderAcceptance, SubfoldersComeBeforeTheEntriesAfterThem) {
  const std::string top = dir / ("top" + S);
  const std::string sub = top + ".hidden" + S;
  Folder(top);
  File(top, "1.txt");
  doubles.fakeFolders.AddFolder(top + "*", ".hidden");  // a dot name, still a folder
  File(top, "2.txt");
  Folder(sub);
  File(sub, "3.txt");
  list.AddFolderContents(top, "#.txt");
  EXPECT_EQ(Names(), (std::vector<std::string>{top + "1.txt", sub + "3.txt", top + "2.txt"}));
}

TEST_F(FolderAcceptance, PatternsWithQuestionMarksAndDigits) {
  const std::string top = dir / ("p" + S);
  Folder(top);
  for (const char* name : {"a.txt", "ab.txt", "7.dat", "x7.dat", "B.txt"})
    File(top, name);
  list.AddFolderContents(top, "?.txt");
  EXPECT_EQ(Names(), (std::vector<std::string>{top + "a.txt", top + "B.txt"}));
  list.Clear();
  list.AddFolderContents(top, "#.dat");
  EXPECT_EQ(Names(), std::vector<std::string>{top + "7.dat"});
  list.Clear();
  list.AddFolderContents(top, "[a-z]*");
  EXPECT_EQ(Names(), (std::vector<std::string>{top + "a.txt", top + "ab.txt", top + "x7.dat"}));
}

class WalkAcceptance : public ::testing::Test {
 protected:
  void SetUp() override {
    // x\ holds a.txt, sub\ (c.txt) and README; every entry's attributes as
    // the system would give them (archive, read-only, hidden folders).
    Add(root, ".", FindEntry::kDirectory);
    Add(root, "..", FindEntry::kDirectory);
    Add(root, "a.txt", 0x20 | 0x01);
    Add(root, "sub", FindEntry::kDirectory | 0x02 | 0x01);
    Add(root, "README", 0x80);
    Add(sub, ".", FindEntry::kDirectory);
    Add(sub, "..", FindEntry::kDirectory);
    Add(sub, "c.txt", 0x00);
  }
  void Add(const std::string& folder, const std::string& name, uint32_t attributes) {
    FindEntry entry;
    std::copy(name.begin(), name.end(), entry.name.begin());
    entry.attributes = attributes;
    folders.AddRaw(folder + "*", entry);
  }
  std::vector<std::string> Walk(std::string_view folderPattern, std::string_view filePattern) {
    std::vector<std::string> found;
    CollectFolderFiles(folders, root, folderPattern, filePattern, found);
    return found;
  }

  test::FakeFolders folders;
  const std::string root = "x" + S;
  const std::string sub = root + "sub" + S;
};

TEST_F(WalkAcceptance, OnlyTheDirectoryBitMakesAFolder) {
  EXPECT_EQ(Walk("*", "*"),
            (std::vector<std::string>{root + "a.txt", sub + "c.txt", root + "README"}));
}

TEST_F(WalkAcceptance, TheFolderPatternSeesTheFolderWithItsSeparator) {
  EXPECT_EQ(Walk(root, "*"), (std::vector<std::string>{root + "a.txt", root + "README"}));
  EXPECT_EQ(Walk(sub, "*"), std::vector<std::string>{sub + "c.txt"});
  EXPECT_TRUE(Walk("x", "*").empty());  // without the separator no folder matches
}

TEST_F(WalkAcceptance, TheFilePatternSeesTheNameAlone) {
  EXPECT_TRUE(Walk("*", "x*").empty());
  EXPECT_EQ(Walk("*", "c.*"), std::vector<std::string>{sub + "c.txt"});
}

TEST_F(WalkAcceptance, ResultsAreAppendedToWhatTheTargetHeld) {
  std::vector<std::string> found = {"kept"};
  CollectFolderFiles(folders, "x", "*", "README", found);
  EXPECT_EQ(found, (std::vector<std::string>{"kept", root + "README"}));
}

TEST(WildcardAcceptance, OneDigitOneCharacterAnyRun) {
  EXPECT_FALSE(WildcardMatch("a", "a#"));
  EXPECT_FALSE(WildcardMatch("a12", "a#"));
  EXPECT_TRUE(WildcardMatch("a.", "a?"));
  EXPECT_TRUE(WildcardMatch("\xE4", "?"));
  EXPECT_TRUE(WildcardMatch("a.b.c", "*.c"));
  EXPECT_TRUE(WildcardMatch("a.", "*.*"));
  EXPECT_TRUE(WildcardMatch(".a", "*.*"));
  EXPECT_FALSE(WildcardMatch("a.txt", "*.txt?"));
  EXPECT_TRUE(WildcardMatch("report.001", "report.###"));
  EXPECT_FALSE(WildcardMatch("report.1000", "report.###"));
}

}  // namespace
}  // namespace vtq
