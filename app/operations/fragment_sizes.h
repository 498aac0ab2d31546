#pragma once
// The fragment sizes of both front ends: the main window's size lists, the
// conversion of a number and a unit position into bytes, the presets the
// console names ("1.44m") and the range a size must lie in.

#include <array>
#include <cstdint>
#include <string_view>

namespace vtq {

inline constexpr std::array<std::wstring_view, 4> kCustSizeUnits = {L"bytes", L"kb", L"mb",
                                                                    L"x 1.38Mb"};
inline constexpr std::array<std::wstring_view, 7> kFOverrideUnits = {
    L"bytes", L"kb", L"mb", L"x 1.38Mb", L"bytes smaller", L"kb smaller", L"mb smaller"};
inline constexpr std::array<std::wstring_view, 4> kPresetSizes = {
    L"720kb (DSDD floppy)", L"1.44Mb (DSHD floppy)", L"1.72Mb", L"2.88Mb"};

// Unit positions, shared by both unit lists.
enum SizeUnit : int {
  kUnitBytes = 0,
  kUnitKb = 1,
  kUnitMb = 2,
  kUnitFloppy = 3,  // "x 1.38Mb"
  kUnitBytesSmaller = 4,
  kUnitKbSmaller = 5,
  kUnitMbSmaller = 6,
};

// The inclusive range a fragment size must lie in.
inline constexpr int64_t kMinFragmentBytes = 10240;
inline constexpr int64_t kMaxFragmentBytes = 104857600;

// Bytes for `value` in unit position `unit`, by single-precision
// arithmetic with halves going to the even neighbour. `custom` is the
// custom size in bytes, which the "smaller" units count down from; any
// other position gives 0. The result is not cut to 32 bits, so that a size
// far out of range is refused by the range check instead of wrapping.
int64_t SizeToBytes(float value, int unit, int64_t custom = 0);

// Bytes of a position of the preset list (the splitter's standard sizes and
// 2.88 mb); 0 for a position outside the list.
int64_t PresetBytes(int position);

bool WithinFragmentRange(int64_t bytes);

}  // namespace vtq
