#include "app/model/basic_numeric.h"

#include <cmath>
#include <cstdio>

#include "app/settings/setting_number.h"

namespace vtq::model {
namespace {

bool IsDigit(wchar_t c, int base) {
  if (base == 8)
    return c >= L'0' && c <= L'7';
  if (base == 16) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
  }
  return c >= L'0' && c <= L'9';
}

bool AllDigits(std::wstring_view text, int base) {
  if (text.empty())
    return false;
  for (wchar_t c : text) {
    if (!IsDigit(c, base))
      return false;
  }
  return true;
}

}  // namespace

std::wstring_view TrimBlanks(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos)
    return {};
  const size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

bool IsNumeric(std::wstring_view text) {
  std::wstring_view s = TrimBlanks(text);
  if (s.size() > 2 && s[0] == L'&') {
    if (s[1] == L'H' || s[1] == L'h')
      return AllDigits(s.substr(2), 16);
    if (s[1] == L'O' || s[1] == L'o')
      return AllDigits(s.substr(2), 8);
    return false;
  }
  size_t i = 0;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
    ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i], 10))
    ++i, ++digits;
  if (i < s.size() && s[i] == L'.') {
    ++i;
    while (i < s.size() && IsDigit(s[i], 10))
      ++i, ++digits;
  }
  if (digits == 0)
    return false;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E' || s[i] == L'd' || s[i] == L'D')) {
    ++i;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
      ++i;
    size_t exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i], 10))
      ++i, ++exponentDigits;
    if (exponentDigits == 0)
      return false;
  }
  return i == s.size();
}

double NumericValue(std::wstring_view text) {
  return settings::LeadingNumber(text);
}

std::wstring WholePartText(std::wstring_view text) {
  const double whole = std::trunc(NumericValue(text));
  if (!std::isfinite(whole))
    return L"0";
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", whole == 0 ? 0.0 : whole);
  return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace vtq::model
