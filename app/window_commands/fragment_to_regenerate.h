#pragma once
// "Regen fragment": the number of the one fragment the split writes again,
// and the window's messages when that number is no fragment of the series.
// The rest of a regeneration is the ordinary split: the splitter is told the
// number, no series question is asked, and only the first fragment brings
// its batch file along.

#include <cstdint>
#include <optional>
#include <string>

#include "app/model/main_window_model.h"

namespace vtq {

inline constexpr const char* kInvalidFragmentTitle = "Invalid fragment";
extern const char kInvalidFragmentText[];
inline constexpr const char* kFragmentOutOfRangeTitle = "Fragment out of range";

// The fragment number of "Regen fragment": 0 for the whole series when the
// box is not ticked; nullopt when its text is not a number or is below 0.
// Halves go to the even neighbour; a number beyond any series is kept
// beyond it (saturated on 32 bits) for the range check to refuse.
std::optional<int32_t> FragmentToRegenerate(const model::MainWindowState& state);

// The refusal of a number beyond the `fragments` of the series.
std::string FragmentOutOfRangeText(int16_t fragments);

}  // namespace vtq
