#include "app/operations/fragment_sizes.h"

#include <cmath>

namespace vtq {
namespace {

// Whole number nearest to a single-precision result, halves to even (the
// default rounding mode); saturated so that infinities stay comparable.
int64_t Nearest(float value) {
  constexpr double kLimit = 9.0e18;
  if (std::isnan(value))
    return 0;
  const double rounded = std::nearbyint(static_cast<double>(value));
  if (rounded >= kLimit)
    return static_cast<int64_t>(kLimit);
  if (rounded <= -kLimit)
    return -static_cast<int64_t>(kLimit);
  return static_cast<int64_t>(rounded);
}

float Times(float value, int32_t factor) {
  // Kept as a float on purpose: the product is rounded to single precision.
  const float product = value * static_cast<float>(factor);
  return product;
}

}  // namespace

int64_t SizeToBytes(float value, int unit, int64_t custom) {
  switch (unit) {
    case kUnitBytes:
      return Nearest(value);
    case kUnitKb:
      return Nearest(Times(value, 1024));
    case kUnitMb:
      return Nearest(Times(value, 1048576));
    case kUnitFloppy:
      return Nearest(Times(value, 1457664));
    case kUnitBytesSmaller: {
      const float difference = static_cast<float>(custom) - value;
      return Nearest(difference);
    }
    case kUnitKbSmaller:
      return custom - Nearest(Times(value, 1024));
    case kUnitMbSmaller:
      return custom - Nearest(Times(value, 1048576));
    default:
      return 0;
  }
}

int64_t PresetBytes(int position) {
  switch (position) {
    case 0:
      return 730112;
    case 1:
      return 1457664;
    case 2:
      return 1745408;
    case 3:
      return SizeToBytes(2.88f, kUnitMb);
    default:
      return 0;
  }
}

bool WithinFragmentRange(int64_t bytes) {
  return bytes >= kMinFragmentBytes && bytes <= kMaxFragmentBytes;
}

}  // namespace vtq
