#include "app/win/theme_colours.h"

#include "app/model/themes.h"

namespace vtq::app {

std::optional<wingui::ColourPair> ThemeColours(int theme) {
  const model::Theme& chosen = model::ThemeOf(theme);
  if (chosen.background.system || chosen.text.system)
    return std::nullopt;
  return wingui::ColourPair{static_cast<COLORREF>(chosen.background.value),
                            static_cast<COLORREF>(chosen.text.value)};
}

}  // namespace vtq::app
