#pragma once
// OrrinCrypting's masking: a text scrambled under a key and written with the
// 16 first characters of a mask, two mask characters per byte. Only the
// round trip with the same mask and key is promised; the scrambling is ours.

#include <optional>
#include <string>
#include <string_view>

namespace orrin {

// Used when the caller's mask is empty: 22 distinct letters and digits.
inline constexpr std::wstring_view kDefaultMask = L"q7w3e9r1t5y0u8i2o4p6as";

struct MaskFault {
  int number;  // 1001: too short, 1002: a repeated character
  std::wstring description;
};

// Why a mask cannot be used: empty, or 16 distinct characters and more, are
// fine.
std::optional<MaskFault> CheckMask(std::wstring_view mask);

// The text as masked characters. The text is taken as UTF-8 so that every
// character comes back; an odd byte count gets one leading byte 0.
std::wstring KeyHide(std::wstring_view text, std::wstring_view key, std::wstring_view mask);

// The text KeyHide was given; nullopt for a text KeyHide cannot have made
// (odd length, characters outside the mask's first 16).
std::optional<std::wstring> KeyShow(std::wstring_view masked, std::wstring_view key,
                                    std::wstring_view mask);

}  // namespace orrin
