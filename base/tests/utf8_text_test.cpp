// UTF-8 inside, wide text at the edges: every name the tests use comes back
// from the wide form unchanged, and bytes that are not UTF-8 are replaced,
// never passed on as something else.
#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include "base/code_page.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq::base {
namespace {

struct Name {
  const char* what;
  std::string utf8;
  std::wstring wide;
};

// The names of the round-trip tests, each in both forms.
const Name kNames[] = {
    {"CJK", "\xE5\x86\x99\xE7\x9C\x9F.bin", L"\u5199\u771F.bin"},
    {"Greek", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", L"\u03A9\u03BC\u03AD\u03B3\u03B1"},
    {"NFD accents", "e\xCC\x81te\xCC\x81", L"e\u0301te\u0301"},
    {"emoji", "\xF0\x9F\x98\x80 x", std::wstring(L"\U0001F600 x")},
    {"blanks", " a  b ", L" a  b "},
    {"NUL inside", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
};

TEST(Utf8Text, TheTestNamesConvertBothWays) {
  for (const Name& name : kNames) {
    EXPECT_EQ(ToUtf8(name.wide), name.utf8) << name.what;
    EXPECT_EQ(FromUtf8(name.utf8), name.wide) << name.what;
    EXPECT_TRUE(IsUtf8(name.utf8)) << name.what;
  }
}

// Windows lets a name hold a surrogate without its partner; it comes back.
TEST(Utf8Text, ALoneSurrogateComesBackAsItWas) {
  const std::wstring lone = {L'a', static_cast<wchar_t>(0xD800), L'b'};
  const std::string utf8 = ToUtf8(lone);
  EXPECT_EQ(utf8,
            "a\xED\xA0\x80"
            "b");
  EXPECT_EQ(FromUtf8(utf8), lone);
  EXPECT_FALSE(IsUtf8(utf8));
}

TEST(Utf8Text, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::wstring wide;
  };
  const Case cases[] = {
      {"caf\xE9", L"caf\uFFFD"},                          // Latin-1
      {"\xC3", L"\uFFFD"},                                // cut short
      {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\x80x", L"\uFFFDx"},                              // a continuation alone
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUtf8(c.bytes), c.wide) << c.bytes;
    EXPECT_FALSE(IsUtf8(c.bytes)) << c.bytes;
  }
}

TEST(CodePage, Latin1CarriesWhatIsBelow256AndRefusesTheRest) {
  const CodePage& latin1 = Latin1CodePage();
  EXPECT_EQ(latin1.Encode("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(latin1.Decode("caf\xE9"), "caf\xC3\xA9");
  for (const Name& name : kNames) {
    if (IsAscii(name.utf8)) {
      EXPECT_EQ(latin1.Encode(name.utf8), name.utf8) << name.what;
    } else {
      EXPECT_FALSE(latin1.Encode(name.utf8)) << name.what;
    }
  }
}

#ifdef _WIN32
// The test prefix runs with the Western code page 1252 (scripts/wine-run):
// none of the non-ASCII test names fits it.
TEST(CodePage, TheSystemsPageRefusesWhatItLacksAndLookAlikes) {
  ASSERT_EQ(GetACP(), 1252u) << "the tests' Wine prefix runs with code page 1252";
  const CodePage& ansi = AnsiCodePage();
  EXPECT_EQ(ansi.Encode("R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC"), "R\xE9sum\xE9 \x80");
  EXPECT_EQ(ansi.Decode("R\xE9sum\xE9 \x80"), "R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC");
  for (const Name& name : kNames) {
    if (!IsAscii(name.utf8)) {
      EXPECT_FALSE(ansi.Encode(name.utf8)) << name.what;
    }
  }
  // "ā" would best-fit to "a": another name, so refused.
  EXPECT_FALSE(ansi.Encode("\xC4\x81"));
}
#else
TEST(CodePage, NativelyNamesAreBytesAndPassAsTheyAre) {
  const std::string bytes = "caf\xE9 \xE5\x86\x99";
  EXPECT_EQ(AnsiCodePage().Encode(bytes), bytes);
  EXPECT_EQ(AnsiCodePage().Decode(bytes), bytes);
}
#endif

}  // namespace
}  // namespace vtq::base
