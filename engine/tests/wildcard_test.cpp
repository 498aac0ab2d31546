// The folder walk's wildcard patterns: "*", "?", "#", character lists, case
// and bytes above ASCII, and agreement with a regular expression.

#include "engine/wildcard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>

namespace vtq {
namespace {

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

// Names are UTF-8: "?" and a list stand for one character, however many
// bytes it takes, and ranges go by code point.
TEST(Wildcards, OneCharacterOfAnyLength) {
  EXPECT_TRUE(WildcardMatch("caf\xC3\xA9.txt", "caf?.txt"));
  EXPECT_FALSE(WildcardMatch("caf\xC3\xA9.txt", "caf??.txt"));
  EXPECT_TRUE(WildcardMatch("\xF0\x9F\x8E\x89.bin", "?.bin"));  // an emoji, four bytes
  EXPECT_TRUE(WildcardMatch("\xCE\xA9\xCE\xBC.txt", "[\xCE\x91-\xCE\xA9]?.txt"));  // Α-Ω
  EXPECT_FALSE(WildcardMatch("\xCE\xBC\xCE\xBC.txt", "[\xCE\x91-\xCE\xA9]?.txt"));
  EXPECT_TRUE(WildcardMatch("\xE5\x86\x99\xE7\x9C\x9F 1.bin", "*[!a-z] #.bin"));
}

TEST(Wildcards, BytesAboveAsciiCompareAsUnsigned) {
  EXPECT_TRUE(WildcardMatch("\xe4", "[\xe0-\xef]"));
  EXPECT_FALSE(WildcardMatch("a", "[\xe0-\xef]"));
}

}  // namespace
}  // namespace vtq
