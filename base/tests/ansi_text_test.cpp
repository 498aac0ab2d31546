// The ANSI crossing: wide text that the ANSI code page can hold comes back
// unchanged, lengths are explicit, and what it cannot hold is replaced.
#include "base/ansi_text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq::base {
namespace {

TEST(AnsiText, EmptyStaysEmpty) {
  EXPECT_EQ(ToAnsi(L""), "");
  EXPECT_EQ(FromAnsi(""), L"");
}

TEST(AnsiText, PlainAsciiRoundTrips) {
  const std::wstring text = L"C:\\Backup\\Disk 01.vtq";
  EXPECT_EQ(ToAnsi(text), "C:\\Backup\\Disk 01.vtq");
  EXPECT_EQ(FromAnsi(ToAnsi(text)), text);
}

TEST(AnsiText, EmbeddedNulsPassThrough) {
  const std::wstring text(L"a\0b", 3);
  const std::string ansi = ToAnsi(text);
  ASSERT_EQ(ansi.size(), 3u);
  EXPECT_EQ(ansi[1], '\0');
  EXPECT_EQ(FromAnsi(ansi), text);
}

bool LatinCodePage() {
#ifdef _WIN32
  return GetACP() == 1252;
#else
  return true;
#endif
}

TEST(AnsiText, LatinLettersAreOneByteEach) {
  if (!LatinCodePage())
    GTEST_SKIP() << "the system's ANSI code page is not Western European";
  const std::wstring text = L"Gr\u00fc\u00dfe \u00e9t\u00e9";
  const std::string ansi = ToAnsi(text);
  EXPECT_EQ(ansi,
            "Gr\xfc\xdf"
            "e \xe9t\xe9");
  EXPECT_EQ(FromAnsi(ansi), text);
}

TEST(AnsiText, EveryHighByteRoundTripsThroughWideText) {
  if (!LatinCodePage())
    GTEST_SKIP() << "the system's ANSI code page is not Western European";
  std::string bytes;
  for (int b = 0xA0; b <= 0xFF; ++b)
    bytes += static_cast<char>(b);
  EXPECT_EQ(ToAnsi(FromAnsi(bytes)), bytes);
}

TEST(AnsiText, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  if (!LatinCodePage())
    GTEST_SKIP() << "the system's ANSI code page is not Western European";
  EXPECT_EQ(ToAnsi(L"x\u4e2dy"), "x?y");
}

}  // namespace
}  // namespace vtq::base
