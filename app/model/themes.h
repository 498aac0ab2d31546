#pragma once
// The five colour themes and the rule by which one window or control takes
// the theme's colours. Colours are 24-bit values with red in the lowest
// byte; theme 0 takes two of the system's own colours, which the view
// resolves.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vtq::model {

// A colour of a theme: a fixed value, or the system colour of an index.
struct ThemeColour {
  bool system = false;
  int32_t value = 0;  // the colour, or the system colour index
};

struct Theme {
  std::wstring_view name;
  std::wstring_view description;  // shown by the Customize dialog
  ThemeColour background;
  ThemeColour text;
};

inline constexpr int kSystemButtonFace = 15;
inline constexpr int kSystemButtonText = 18;

inline constexpr std::array<Theme, 5> kThemes = {{
    {L"Windows default",
     L"Vantrelloquin will look like all your other windows.",
     {true, kSystemButtonFace},
     {true, kSystemButtonText}},
    {L"Demonic",
     L"Vantrelloquin will have green text on black background.",
     {false, 0},
     {false, 65280}},
    {L"Blood", L"Very, very red....", {false, 128}, {false, 255}},
    {L"Angelic",
     L"Black text on a white background - kinda like many windows 3.1 programs.",
     {false, 16777215},
     {false, 0}},
    {L"Golden Sunshine",
     L"Yellow text on a dark-yellow background",
     {false, 16448},
     {false, 65535}},
}};

// Appended to the description while the joke language is chosen.
extern const wchar_t kVreakyThemeNote[];

// The tag that keeps a control out of every theme.
inline constexpr std::wstring_view kThemeImmuneTag = L"themeimmune";

// "Leave as it is" in a colour request.
inline constexpr int32_t kCurrentColour = -1;

// A theme number as stored: below 0 or 5 and more give 1.
int ThemeNumber(int32_t stored);
const Theme& ThemeOf(int32_t stored);

struct ColourPair {
  int32_t background = 0;
  int32_t text = 0;
  bool operator==(const ColourPair&) const = default;
};

// The colours the last coloured window or control was given; each window
// that colours its controls keeps one.
class CurrentThemeColours {
 public:
  const ColourPair& Colours() const { return colours_; }
  // Takes the requested colours, except those given as kCurrentColour.
  void Request(int32_t text, int32_t background);

 private:
  ColourPair colours_;
};

// Whether a control is coloured at all: not when it holds editable text (a
// text box, a drop-down list) or carries the exemption tag.
bool TakesThemeColours(bool holdsEditableText, std::wstring_view tag);

// The decision for one window or control: nullopt leaves it as it is;
// otherwise `current` is updated and the colours to set are returned.
std::optional<ColourPair> ThemeControl(CurrentThemeColours& current, bool holdsEditableText,
                                       std::wstring_view tag, int32_t text, int32_t background);

}  // namespace vtq::model
