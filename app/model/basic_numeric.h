#pragma once
// The classic BASIC number tests the window's fields are checked with.
//
// IsNumeric accepts: blanks before and after, one sign in front, digits
// with at most one decimal point (at least one digit in all), an exponent
// "E" or "D" with an optional sign and at least one digit, and the "&H"
// (hexadecimal) and "&O" (octal) forms. It refuses an empty or blank text,
// blanks inside the number, thousands separators and currency signs.

#include <string>
#include <string_view>

namespace vtq::model {

bool IsNumeric(std::wstring_view text);

// The text without leading and trailing blanks.
std::wstring_view TrimBlanks(std::wstring_view text);

// The numeric value of a text by the leading-number rule (0 when there is
// none), as the settings are read.
double NumericValue(std::wstring_view text);

// The whole part (cut toward zero) of the text's numeric value, written in
// decimal without blanks: what a size field shows after it is checked.
std::wstring WholePartText(std::wstring_view text);

}  // namespace vtq::model
