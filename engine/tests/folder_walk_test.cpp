#include <gtest/gtest.h>

#include <cstring>

#include "engine/folder_walk.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

const std::string S(1, kPathSeparator);

TEST(NameFields, CutAtTheFirstNul) {
  EXPECT_EQ(TrimAtNull(std::string_view("abc\0def", 7)), "abc");
  EXPECT_EQ(TrimAtNull(std::string_view("\0abc", 4)), "");
  EXPECT_EQ(TrimAtNull("whole"), "whole");
  EXPECT_EQ(TrimAtNull(""), "");
}

class FolderWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    // root holds a.txt, README, sub (with c.txt, deeper/d.txt), b.TXT, in that order.
    folders.AddFolder(root + "*", ".");
    folders.AddFolder(root + "*", "..");
    folders.AddFile(root + "*", "a.txt");
    folders.AddFile(root + "*", "README");
    folders.AddFolder(root + "*", "sub");
    folders.AddFile(root + "*", "b.TXT");
    folders.AddFolder(sub + "*", ".");
    folders.AddFolder(sub + "*", "..");
    folders.AddFile(sub + "*", "c.txt");
    folders.AddFolder(sub + "*", "deeper");
    folders.AddFile(sub + "deeper" + S + "*", "d.txt");
  }
  std::vector<std::string> Walk(const std::string& folder, std::string_view folderPattern,
                                std::string_view filePattern) {
    std::vector<std::string> found;
    CollectFolderFiles(folders, folder, folderPattern, filePattern, found);
    return found;
  }

  test::FakeFolders folders;
  const std::string root = "x" + S;
  const std::string sub = root + "sub" + S;
};

TEST_F(FolderWalk, DepthFirstInEnumerationOrder) {
  const std::vector<std::string> expected = {root + "a.txt", sub + "c.txt",
                                             sub + "deeper" + S + "d.txt", root + "b.TXT"};
  EXPECT_EQ(Walk(root, "*", "*.*"), expected);
  EXPECT_EQ(Walk("x", "*", "*.*"), expected);
}

TEST_F(FolderWalk, PatternsAreCaseSensitiveAndNeedTheDot) {
  EXPECT_EQ(Walk(root, "*", "*.TXT"), std::vector<std::string>{root + "b.TXT"});
  EXPECT_EQ(Walk(root, "*", "README"), std::vector<std::string>{root + "README"});
  EXPECT_EQ(Walk(root, "*", "*").size(), 5u);
}

TEST_F(FolderWalk, FolderPatternFiltersButStillRecurses) {
  const std::vector<std::string> underSub = {sub + "c.txt", sub + "deeper" + S + "d.txt"};
  EXPECT_EQ(Walk(root, "*sub*", "*"), underSub);
  EXPECT_EQ(Walk(root, "*deeper?", "*"), std::vector<std::string>{sub + "deeper" + S + "d.txt"});
}

TEST_F(FolderWalk, FoldersThatCannotBeEnumeratedGiveNothing) {
  EXPECT_TRUE(Walk("nowhere", "*", "*").empty());
  folders.AddFolder(root + "*", "locked");  // its contents are not enumerable
  EXPECT_EQ(Walk(root, "*", "*.*").size(), 4u);
}

TEST_F(FolderWalk, LinkedFoldersAreNotEntered) {
  FindEntry junction;
  std::memcpy(junction.name.data(), "loop", 5);
  junction.attributes = FindEntry::kDirectory | FindEntry::kReparsePoint;
  folders.AddRaw(root + "*", junction);
  folders.AddFile(root + "loop" + S + "*", "outside.txt");
  EXPECT_EQ(Walk(root, "*", "*.*").size(), 4u);
}

TEST_F(FolderWalk, NameFieldsAreCutAtNulAndEmptyNamesSkipped) {
  FindEntry full;
  full.name.fill('n');  // no NUL at all: the whole field is the name
  folders.AddRaw("y" + S + "*", full);
  FindEntry trailing;
  std::memcpy(trailing.name.data(), "e.txt\0garbage", 13);
  folders.AddRaw("y" + S + "*", trailing);
  FindEntry emptyFolder;  // would stand for y itself and never end
  emptyFolder.attributes = FindEntry::kDirectory;
  folders.AddRaw("y" + S + "*", emptyFolder);
  folders.AddRaw("y" + S + "*", FindEntry{});

  const auto found = Walk("y", "*", "*");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], "y" + S + std::string(FindEntry::kNameField, 'n'));
  EXPECT_EQ(found[1], "y" + S + "e.txt");
}

}  // namespace
}  // namespace vtq
