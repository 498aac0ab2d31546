#include "helperlib/core/calendar_week.h"

#include <gtest/gtest.h>

#include "helperlib/core/colour.h"

namespace orrin {
namespace {

TEST(CalendarWeekTest, DayNumbersAreAutomationDates) {
  EXPECT_EQ(DayNumber({1899, 12, 30}), 0);
  EXPECT_EQ(DayNumber({1900, 1, 1}), 2);
  EXPECT_EQ(DayNumber({2000, 1, 1}), 36526);
  EXPECT_EQ(DayNumber({1800, 1, 1}), -36522);
  for (long day : {-700000L, -1L, 0L, 59L, 60L, 61L, 36526L, 2958465L})
    EXPECT_EQ(DayNumber(DateOfDay(day)), day);
  EXPECT_EQ(DateOfDay(2958465), (CivilDate{9999, 12, 31}));
}

TEST(CalendarWeekTest, WeeksAcrossYearBoundaries) {
  // 1 January 2021 was a Friday: it belongs to week 53 of 2020.
  EXPECT_EQ(WeekOf({2021, 1, 1}).week, 53);
  EXPECT_EQ(WeekOf({2021, 1, 1}).year, 2020);
  EXPECT_EQ(WeekOf({2021, 1, 4}).week, 1);
  // 29 December 2014 was a Monday: week 1 of 2015.
  EXPECT_EQ(WeekOf({2014, 12, 29}).week, 1);
  EXPECT_EQ(WeekOf({2014, 12, 29}).year, 2015);
  EXPECT_EQ(WeekOf({2014, 12, 28}).week, 52);
  // 1 January 2026 is a Thursday: week 1 of its own year.
  EXPECT_EQ(WeekOf({2026, 1, 1}).week, 1);
  EXPECT_EQ(WeekOf({2025, 12, 29}).week, 1);
  EXPECT_EQ(WeekOf({2026, 12, 31}).week, 53);
  EXPECT_EQ(WeekOf({2027, 1, 3}).week, 53);
  EXPECT_EQ(WeekOf({2027, 1, 4}).week, 1);
  EXPECT_EQ(WeekOf({2008, 12, 29}).year, 2009);
}

TEST(CalendarWeekTest, WeeksInYear) {
  EXPECT_EQ(WeeksInYear(2015), 53);
  EXPECT_EQ(WeeksInYear(2020), 53);
  EXPECT_EQ(WeeksInYear(2021), 52);
  EXPECT_EQ(WeeksInYear(2026), 53);
  EXPECT_EQ(WeeksInYear(2000), 52);
  EXPECT_EQ(WeeksInYear(2004), 53);
}

TEST(CalendarWeekTest, FirstAndLastDayOfAWeek) {
  EXPECT_EQ(DayOfWeek(1, 2021, false), (CivilDate{2021, 1, 4}));
  EXPECT_EQ(DayOfWeek(1, 2021, true), (CivilDate{2021, 1, 10}));
  EXPECT_EQ(DayOfWeek(1, 2015, false), (CivilDate{2014, 12, 29}));
  EXPECT_EQ(DayOfWeek(53, 2020, true), (CivilDate{2021, 1, 3}));
  EXPECT_EQ(DayOfWeek(53, 2021, false), std::nullopt);
  EXPECT_EQ(DayOfWeek(0, 2021, false), std::nullopt);
  // Every day of a few years lies in the week that DayOfWeek names.
  for (long day = DayNumber({2019, 12, 1}); day < DayNumber({2028, 2, 1}); ++day) {
    const IsoWeek week = WeekOf(DateOfDay(day));
    const long monday = DayNumber(*DayOfWeek(week.week, week.year, false));
    const long sunday = DayNumber(*DayOfWeek(week.week, week.year, true));
    ASSERT_TRUE(monday <= day && day <= sunday && sunday - monday == 6) << day;
  }
}

TEST(ColourTest, SplitsIntoRedGreenBlue) {
  EXPECT_EQ(SplitColour(0x00123456), (Rgb{0x56, 0x34, 0x12}));
  EXPECT_EQ(SplitColour(65280), (Rgb{0, 255, 0}));
  EXPECT_EQ(SplitColour(192), (Rgb{192, 0, 0}));
  EXPECT_EQ(SplitColour(0xFFFFFF), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace orrin
