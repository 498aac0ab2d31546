#pragma once
// The colours of the five themes as the windows apply them: theme 0 is the
// system look (nullopt), 1 to 4 a background and a text colour. Until the
// main window's model brings its theme table, this small table is the one
// place that knows them.

#include <optional>

#include "wingui/colouring.h"

namespace vtq::app {

std::optional<wingui::ColourPair> ThemeColours(int theme);

}  // namespace vtq::app
