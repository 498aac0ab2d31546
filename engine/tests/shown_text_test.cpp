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

TEST(ShownText, C1ControlCharactersOfUtf8AreEscapedToo) {
  // CSI and OSC as a UTF-8 terminal reads them: C2 9B, C2 9D.
  EXPECT_EQ(ShownText("a\xC2\x9B"
                      "31mred\xC2\x9D"
                      "0;owned\x07"),
            "a\\xC2\\x9B31mred\\xC2\\x9D0;owned\\x07");
  EXPECT_EQ(ShownText("\xC2\x80\xC2\x9F"), "\\xC2\\x80\\xC2\\x9F");
  // Letters of UTF-8 and of the code page stay, a lone C2 too.
  EXPECT_EQ(ShownText("caf\xC3\xA9 \xC2\xA0\xC2\xBF \xC2"), "caf\xC3\xA9 \xC2\xA0\xC2\xBF \xC2");
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
