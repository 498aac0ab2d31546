#include "app/settings/setting_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vtq::settings {
namespace {

bool Ignored(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n';
}

// The text without the characters Val skips wherever they stand.
std::string Significant(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) {
    if (Ignored(c))
      continue;
    out += c < 0x80 ? static_cast<char>(c) : '\x7f';  // never part of a number
  }
  return out;
}

double Radix(const std::string& digits, size_t from, int base) {
  double value = 0;
  for (size_t i = from; i < digits.size(); ++i) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(digits[i])));
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    if (digit >= base)
      break;
    value = value * base + digit;
  }
  return value;
}

}  // namespace

double LeadingNumber(std::wstring_view text) {
  const std::string s = Significant(text);
  if (s.size() >= 2 && s[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (kind == 'H')
      return Radix(s, 2, 16);
    if (kind == 'O')
      return Radix(s, 2, 8);
  }
  // sign, digits, decimal point, digits, exponent (E or D).
  size_t i = 0;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    number += s[i++];
  bool digits = false;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
    number += s[i++], digits = true;
  if (i < s.size() && s[i] == '.') {
    number += s[i++];
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
      number += s[i++], digits = true;
  }
  if (!digits)
    return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-'))
      exponent += s[j++];
    const size_t first = j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
      exponent += s[j++];
    if (j > first)
      number += exponent;
  }
  if (number.front() == '+')
    number.erase(0, 1);
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  return result.ec == std::errc::result_out_of_range
             ? (number.front() == '-' ? -HUGE_VAL : HUGE_VAL)
             : value;
}

int32_t SettingNumber(std::wstring_view text) {
  const double value = LeadingNumber(text);
  if (std::isnan(value))
    return 0;
  // nearbyint rounds halves to even in the default rounding mode.
  const double rounded = std::nearbyint(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace vtq::settings
