#include "app/win/theme_colours.h"

namespace vtq::app {

std::optional<wingui::ColourPair> ThemeColours(int theme) {
  switch (theme) {
    case 0:
      return std::nullopt;
    case 2:
      return wingui::ColourPair{128, 255};
    case 3:
      return wingui::ColourPair{16777215, 0};
    case 4:
      return wingui::ColourPair{16448, 65535};
    default:  // 1 and anything out of range: green on black
      return wingui::ColourPair{0, 65280};
  }
}

}  // namespace vtq::app
