#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "engine/globals.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using GlobalSettings::CollectFolderFiles;
using GlobalSettings::TrimAtNull;
using GlobalSettings::WildcardMatch;

const std::string S(1, kPathSeparator);

TEST(NameFields, CutAtTheFirstNul) {
  EXPECT_EQ(TrimAtNull(std::string_view("abc\0def", 7)), "abc");
  EXPECT_EQ(TrimAtNull(std::string_view("\0abc", 4)), "");
  EXPECT_EQ(TrimAtNull("whole"), "whole");
  EXPECT_EQ(TrimAtNull(""), "");
}

TEST(Wildcards, StarQuestionAndDigit) {
  EXPECT_TRUE(WildcardMatch("a.txt", "*.*"));
  EXPECT_FALSE(WildcardMatch("README", "*.*"));
  EXPECT_TRUE(WildcardMatch(".", "*.*"));
  EXPECT_TRUE(WildcardMatch("", "*"));
  EXPECT_TRUE(WildcardMatch("", ""));
  EXPECT_FALSE(WildcardMatch("a", ""));
  EXPECT_FALSE(WildcardMatch("", "?"));
  EXPECT_TRUE(WildcardMatch("abc", "a?c"));
  EXPECT_FALSE(WildcardMatch("ac", "a?c"));
  EXPECT_TRUE(WildcardMatch("big.007", "big.###"));
  EXPECT_FALSE(WildcardMatch("big.00x", "big.###"));
  EXPECT_TRUE(WildcardMatch("a-b-c-d", "*b*d"));
  EXPECT_TRUE(WildcardMatch("aXbXbY", "*b?"));
  EXPECT_FALSE(WildcardMatch("aXbXb", "*b?"));
  EXPECT_TRUE(WildcardMatch("mississippi", "*sip*"));
  EXPECT_TRUE(WildcardMatch("abc", "a**c"));
}

TEST(Wildcards, AreCaseSensitive) {
  EXPECT_FALSE(WildcardMatch("a.txt", "*.TXT"));
  EXPECT_TRUE(WildcardMatch("A.TXT", "*.TXT"));
  EXPECT_FALSE(WildcardMatch("Abc", "a*"));
}

TEST(Wildcards, CharacterLists) {
  EXPECT_TRUE(WildcardMatch("b", "[abc]"));
  EXPECT_FALSE(WildcardMatch("d", "[abc]"));
  EXPECT_TRUE(WildcardMatch("m", "[a-z]"));
  EXPECT_FALSE(WildcardMatch("M", "[a-z]"));
  EXPECT_TRUE(WildcardMatch("y", "[!x]"));
  EXPECT_FALSE(WildcardMatch("x", "[!x]"));
  EXPECT_FALSE(WildcardMatch("", "[!x]"));
  EXPECT_TRUE(WildcardMatch("Q7", "[A-Z0-9][0-9]"));
  EXPECT_TRUE(WildcardMatch("-", "[-a]"));
  EXPECT_TRUE(WildcardMatch("-", "[a-]"));
  EXPECT_FALSE(WildcardMatch("b", "[a-]"));
  // Brackets make the special characters plain.
  EXPECT_TRUE(WildcardMatch("*", "[*]"));
  EXPECT_FALSE(WildcardMatch("x", "[*]"));
  EXPECT_TRUE(WildcardMatch("a?", "a[?]"));
  EXPECT_TRUE(WildcardMatch("#1", "[#]#"));
  EXPECT_TRUE(WildcardMatch("data.[1]", "*.[[]1]"));
  // The empty list takes no character; an unclosed list is the "[" itself.
  EXPECT_TRUE(WildcardMatch("ab", "a[]b"));
  EXPECT_TRUE(WildcardMatch("a", "a[]"));
  EXPECT_TRUE(WildcardMatch("", "[]*[]"));
  EXPECT_TRUE(WildcardMatch("a[b", "a[b"));
  EXPECT_FALSE(WildcardMatch("ab", "a[b"));
}

// The same patterns as regular expressions, to check the backtracking on many cases.
TEST(Wildcards, AgreeWithARegexOnGeneratedCases) {
  const std::string textChars = "ab.1", patternChars = "ab.1*?#";
  uint32_t x = 12345;
  const auto next = [&x](size_t n) {
    x = x * 1103515245u + 12345u;
    return (x >> 16) % n;
  };
  for (int i = 0; i < 800; ++i) {
    std::string text, pattern, regex;
    for (size_t n = next(8); n > 0; --n)
      text += textChars[next(textChars.size())];
    for (size_t n = next(6); n > 0; --n) {
      const char c = patternChars[next(patternChars.size())];
      pattern += c;
      regex += c == '*'   ? ".*"
               : c == '?' ? "."
               : c == '#' ? "[0-9]"
               : c == '.' ? "\\."
                          : std::string(1, c);
    }
    EXPECT_EQ(WildcardMatch(text, pattern), std::regex_match(text, std::regex(regex)))
        << text << " ~ " << pattern;
  }
}

TEST(Wildcards, BytesAboveAsciiCompareAsUnsigned) {
  EXPECT_TRUE(WildcardMatch("\xe4", "[\xe0-\xef]"));
  EXPECT_FALSE(WildcardMatch("a", "[\xe0-\xef]"));
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
