#include "app/model/themes.h"

namespace vtq::model {

extern const wchar_t kVreakyThemeNote[] = L" 'File' will be replaced by 'Vyle'.";

int ThemeNumber(int32_t stored) {
  return stored < 0 || stored >= static_cast<int32_t>(kThemes.size()) ? 1 : stored;
}

const Theme& ThemeOf(int32_t stored) {
  return kThemes[static_cast<size_t>(ThemeNumber(stored))];
}

void CurrentThemeColours::Request(int32_t text, int32_t background) {
  if (text != kCurrentColour)
    colours_.text = text;
  if (background != kCurrentColour)
    colours_.background = background;
}

bool TakesThemeColours(bool holdsEditableText, std::wstring_view tag) {
  return !holdsEditableText && tag != kThemeImmuneTag;
}

std::optional<ColourPair> ThemeControl(CurrentThemeColours& current, bool holdsEditableText,
                                       std::wstring_view tag, int32_t text, int32_t background) {
  if (!TakesThemeColours(holdsEditableText, tag))
    return std::nullopt;
  current.Request(text, background);
  return current.Colours();
}

}  // namespace vtq::model
