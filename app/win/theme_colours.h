#pragma once
// The colours of a stored theme number as the windows apply them: theme 0
// is the system look (nullopt), the others a background and a text colour
// from the model's theme table.

#include <optional>

#include "wingui/colouring.h"

namespace vtq::app {

std::optional<wingui::ColourPair> ThemeColours(int theme);

}  // namespace vtq::app
