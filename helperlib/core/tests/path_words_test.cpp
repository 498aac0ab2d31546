#include "helperlib/core/path_words.h"

#include <gtest/gtest.h>

namespace orrin {
namespace {

TEST(GetWordTest, WordsBetweenAnyNumberOfBlanks) {
  EXPECT_EQ(GetWord(L"one two three", 2), L"two");
  EXPECT_EQ(GetWord(L"   one    two  ", 1), L"one");
  EXPECT_EQ(GetWord(L"   one    two  ", 2), L"two");
  EXPECT_EQ(GetWord(L"   one    two  ", 3), L"");
  EXPECT_EQ(GetWord(L"single", 1), L"single");
  EXPECT_EQ(GetWord(L"", 1), L"");
  EXPECT_EQ(GetWord(L"     ", 1), L"");
  EXPECT_EQ(GetWord(L"a b", 0), L"");
  EXPECT_EQ(GetWord(L"a b", -1), L"");
  // Only blanks separate: tabs belong to the word.
  EXPECT_EQ(GetWord(L"a\tb c", 1), L"a\tb");
}

TEST(ParentPathTest, ParentAndLastElement) {
  EXPECT_EQ(ParentPath(L"C:\\dir\\sub\\file.txt"), L"C:\\dir\\sub");
  EXPECT_EQ(ParentPath(L"C:\\dir\\sub\\file.txt", PathPart::kLast), L"file.txt");
  EXPECT_EQ(ParentPath(L"C:\\dir\\sub\\"), L"C:\\dir");
  EXPECT_EQ(ParentPath(L"C:\\dir\\sub\\", PathPart::kLast), L"sub");
  EXPECT_EQ(ParentPath(L"C:\\file"), L"C:");
  EXPECT_EQ(ParentPath(L"file"), L"");
  EXPECT_EQ(ParentPath(L"file", PathPart::kLast), L"file");
  EXPECT_EQ(ParentPath(L""), L"");
  EXPECT_EQ(ParentPath(L"\\", PathPart::kLast), L"");
}

TEST(ParentPathTest, OtherSeparators) {
  EXPECT_EQ(ParentPath(L"a/b/c", PathPart::kParent, L"/"), L"a/b");
  EXPECT_EQ(ParentPath(L"a/b/c", PathPart::kLast, L"/"), L"c");
  EXPECT_EQ(ParentPath(L"Software\\A\\B", PathPart::kParent, L""), L"Software\\A");
  EXPECT_EQ(ParentPath(L"x -> y -> z", PathPart::kLast, L" -> "), L"z");
}

}  // namespace
}  // namespace orrin
