// The number tests of the window's fields.
#include "app/model/basic_numeric.h"

#include <gtest/gtest.h>

namespace vtq::model {
namespace {

TEST(IsNumeric, WhatTheClassicTestAccepts) {
  for (const wchar_t* text : {L"12", L" 12 ", L"+12", L"-12", L"12.7", L".5", L"5.", L"1e3",
                              L"1E+3", L"2.5e-2", L"1d2", L"&H1F", L"&o17", L"  -0.0  "}) {
    EXPECT_TRUE(IsNumeric(text)) << text;
  }
}

TEST(IsNumeric, WhatItRefuses) {
  for (const wchar_t* text :
       {L"", L"   ", L"abc", L"12a", L"1 2", L"1,000", L"$5", L"1e", L"e3", L".", L"+", L"--1",
        L"1.2.3", L"&H", L"&HG", L"&O8", L"1e+", L"\t12"}) {
    EXPECT_FALSE(IsNumeric(text)) << text;
  }
}

TEST(WholePartText, CutsTowardZeroWithoutBlanks) {
  EXPECT_EQ(WholePartText(L"12.7"), L"12");
  EXPECT_EQ(WholePartText(L" 12.7 "), L"12");
  EXPECT_EQ(WholePartText(L"-12.7"), L"-12");
  EXPECT_EQ(WholePartText(L"-0.5"), L"0");
  EXPECT_EQ(WholePartText(L"1e3"), L"1000");
  EXPECT_EQ(WholePartText(L"&H10"), L"16");
}

}  // namespace
}  // namespace vtq::model
