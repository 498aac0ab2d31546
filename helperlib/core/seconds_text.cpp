#include "helperlib/core/seconds_text.h"

namespace orrin {
namespace {

std::wstring TwoDigits(long long value) {
  return (value < 10 ? L"0" : L"") + std::to_wstring(value);
}

}  // namespace

std::wstring SecondsText(long long x, bool addSuffix) {
  if (x < 0)
    return L"";
  const long long s = x % 60;
  const long long m = (x / 60) % 60;
  const long long d = x / 86400;
  long long h = x / 3600;
  std::wstring text;
  if (addSuffix) {
    h %= 24;
    if (d >= 1)
      text += std::to_wstring(d) + (d == 1 ? L" day " : L" days ");
    if (h >= 1)
      text += std::to_wstring(h) + L"h ";
    if (m >= 1)
      text += std::to_wstring(m) + L"min. ";
    if (s >= 1)
      text += TwoDigits(s) + L"sec.";
    return text;
  }
  if (h >= 1) {
    text += std::to_wstring(h);
    if (m >= 1)
      text += L":";
    else if (s >= 1)
      text += L":00:";
  }
  if (m >= 1) {
    text += TwoDigits(m);
    if (s >= 1)
      text += L":";
  }
  if (s >= 1)
    text += TwoDigits(s);
  return text;
}

}  // namespace orrin
