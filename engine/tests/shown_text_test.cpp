// Control characters of names shown as text on a console.

#include "engine/shown_text.h"

#include <gtest/gtest.h>

namespace vtq {
namespace {

TEST(ShownText, ControlCharactersAreEscapedEverythingElseStays) {
  EXPECT_EQ(ShownText("\x1B]0;owned\x07\x1B[31mred"), "\\x1B]0;owned\\x07\\x1B[31mred");
  EXPECT_EQ(ShownText("a\nb\rc\td"), "a\\nb\\rc\\td");
  EXPECT_EQ(ShownText(std::string("\x00\x01\x1F\x7F", 4)), "\\x00\\x01\\x1F\\x7F");
  // Code page letters, blanks, backslashes and punctuation are text.
  EXPECT_EQ(ShownText("C:\\data\\r\xE9sum\xE9 (1) & 100%.doc"),
            "C:\\data\\r\xE9sum\xE9 (1) & 100%.doc");
  EXPECT_EQ(ShownText("\x80\xFF "), "\x80\xFF ");
  EXPECT_EQ(ShownText(""), "");
}

TEST(ShownText, OneCharacter) {
  EXPECT_EQ(ShownCharacter('"'), "\"");
  EXPECT_EQ(ShownCharacter('\n'), "\\n");
  EXPECT_EQ(ShownCharacter('\r'), "\\r");
  EXPECT_EQ(ShownCharacter('\x0D'), "\\r");
  EXPECT_EQ(ShownCharacter('\x0B'), "\\x0B");
  EXPECT_TRUE(IsControlCharacter('\x7F'));
  EXPECT_FALSE(IsControlCharacter(' '));
  EXPECT_FALSE(IsControlCharacter('\x80'));
}

}  // namespace
}  // namespace vtq
