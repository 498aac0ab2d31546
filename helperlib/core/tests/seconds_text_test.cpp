#include "helperlib/core/seconds_text.h"

#include <gtest/gtest.h>

namespace orrin {
namespace {

TEST(SecondsTextTest, WithSuffixes) {
  EXPECT_EQ(SecondsText(3725, true), L"1h 2min. 05sec.");
  EXPECT_EQ(SecondsText(59, true), L"59sec.");
  EXPECT_EQ(SecondsText(86400 + 3600 + 60 + 1, true), L"1 day 1h 1min. 01sec.");
  EXPECT_EQ(SecondsText(2 * 86400 + 10, true), L"2 days 10sec.");
  EXPECT_EQ(SecondsText(3600, true), L"1h ");
  EXPECT_EQ(SecondsText(0, true), L"");
}

TEST(SecondsTextTest, ClockForm) {
  EXPECT_EQ(SecondsText(3725, false), L"1:02:05");
  EXPECT_EQ(SecondsText(3601, false), L"1:00:01");
  EXPECT_EQ(SecondsText(3660, false), L"1:01");
  EXPECT_EQ(SecondsText(65, false), L"01:05");
  EXPECT_EQ(SecondsText(7, false), L"07");
  EXPECT_EQ(SecondsText(3600, false), L"1");
  // No days in the clock form: the hours go on counting.
  EXPECT_EQ(SecondsText(90000 + 61, false), L"25:01:01");
}

TEST(SecondsTextTest, NegativeCountsFail) {
  EXPECT_EQ(SecondsText(-1, true), L"");
  EXPECT_EQ(SecondsText(-3725, false), L"");
}

}  // namespace
}  // namespace orrin
