#pragma once
// Numeric settings are stored as text and read back by the leading-number
// rule of the classic Val function (blanks, tabs and line feeds ignored,
// "&H"/"&O" prefixes, decimals and exponents; 0 when there is no number),
// then rounded to the nearest whole number with halves going to the even
// neighbour, as the classic CInt does. Results beyond 32 bits are clamped.

#include <cstdint>
#include <string_view>

namespace vtq::settings {

double LeadingNumber(std::wstring_view text);
int32_t SettingNumber(std::wstring_view text);

}  // namespace vtq::settings
