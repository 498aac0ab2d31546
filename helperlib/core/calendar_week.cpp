#include "helperlib/core/calendar_week.h"

namespace orrin {
namespace {

// Days since 1970-01-01 (proleptic Gregorian), after H. Hinnant's
// days_from_civil.
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

constexpr long kEpochOffset = 25569;  // 1899-12-30 to 1970-01-01

// 1 = Monday … 7 = Sunday.
int Weekday(long dayNumber) {
  // 1899-12-30 was a Saturday.
  const long shifted = ((dayNumber + 5) % 7 + 7) % 7;
  return static_cast<int>(shifted) + 1;
}

// The Monday of week 1: the Monday on or before 4 January.
long FirstMonday(int year) {
  const long jan4 = DayNumber({year, 1, 4});
  return jan4 - (Weekday(jan4) - 1);
}

}  // namespace

long DayNumber(const CivilDate& date) {
  return DaysFromCivil(date.year, date.month, date.day) + kEpochOffset;
}

CivilDate DateOfDay(long dayNumber) {
  return CivilFromDays(dayNumber - kEpochOffset);
}

int WeeksInYear(int year) {
  return static_cast<int>((FirstMonday(year + 1) - FirstMonday(year)) / 7);
}

IsoWeek WeekOf(const CivilDate& date) {
  const long day = DayNumber(date);
  int year = date.year;
  if (day < FirstMonday(year))
    --year;
  else if (day >= FirstMonday(year + 1))
    ++year;
  return {year, static_cast<int>((day - FirstMonday(year)) / 7 + 1)};
}

std::optional<CivilDate> DayOfWeek(int week, int year, bool lastDay) {
  if (week < 1 || week > WeeksInYear(year))
    return std::nullopt;
  return DateOfDay(FirstMonday(year) + (week - 1) * 7 + (lastDay ? 6 : 0));
}

}  // namespace orrin
