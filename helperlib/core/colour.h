#pragma once
// lToRGB: a colour value 0x00BBGGRR as its three bytes.

#include <cstdint>

namespace orrin {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb SplitColour(uint32_t rgb) {
  return {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
          static_cast<int>((rgb >> 16) & 0xFF)};
}

}  // namespace orrin
