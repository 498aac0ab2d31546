#include "app/window_commands/fragment_to_regenerate.h"

#include <cmath>
#include <limits>

#include "app/model/basic_numeric.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kInvalidFragmentText[] =
    "Please enter a number value for the fragment to regenerate!";
extern const char kOutOfRangeStart[] =
    "It is not possible to regenerate the specified fragment as there are only ";
extern const char kOutOfRangeEnd[] = " fragments in this series!";

std::optional<int32_t> FragmentToRegenerate(const model::MainWindowState& s) {
  if (!s.regenFragBool.checked)
    return 0;
  if (!model::IsNumeric(s.regenFragVal.text))
    return std::nullopt;
  // Halves go to the even neighbour, as the default rounding does.
  const double rounded = std::nearbyint(model::NumericValue(s.regenFragVal.text));
  // A negative number would reach the splitter as a whole series written
  // without the series question: no fragment has such a number.
  if (!(rounded >= 0))
    return std::nullopt;
  constexpr int32_t kBeyondAnySeries = std::numeric_limits<int32_t>::max();
  if (rounded >= kBeyondAnySeries)
    return kBeyondAnySeries;
  return static_cast<int32_t>(rounded);
}

std::string FragmentOutOfRangeText(int16_t fragments) {
  return kOutOfRangeStart + std::to_string(fragments) + kOutOfRangeEnd;
}

}  // namespace vtq
