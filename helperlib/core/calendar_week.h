#pragma once
// Calendar weeks after ISO 8601: weeks start on Monday, and week 1 of a
// year is the week that holds the year's first Thursday (so 1 to 3 January
// may belong to the last week of the year before, and 29 to 31 December to
// week 1 of the next). GetKW and DateForKW of OrrinModules.

#include <optional>

namespace orrin {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
  bool operator==(const CivilDate&) const = default;
};

// Days since 1899-12-30, the epoch of automation dates (DATE).
long DayNumber(const CivilDate& date);
CivilDate DateOfDay(long dayNumber);

// The number of ISO weeks of a year: 52 or 53.
int WeeksInYear(int year);

struct IsoWeek {
  int year;  // the week's year, which may differ from the date's
  int week;
};
IsoWeek WeekOf(const CivilDate& date);

// The Monday (or with lastDay the Sunday) of week `week` of `year`;
// nullopt when the year has no such week.
std::optional<CivilDate> DayOfWeek(int week, int year, bool lastDay);

}  // namespace orrin
