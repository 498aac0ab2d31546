#pragma once
// CvtSec: a number of seconds as text, either with unit suffixes
// ("1 day 2h 3min. 04sec.") or in clock form ("1:02:05").

#include <string>

namespace orrin {

// Parts that are zero are left out; seconds below 10 get a leading "0".
// With suffixes the hours are those of the day and days are named; the
// clock form counts all hours and shows no days. Negative counts give "".
std::wstring SecondsText(long long seconds, bool addSuffix);

}  // namespace orrin
