#pragma once
// Colours a window and its controls from two colours (background, text).
// Controls that hold editable text (edit boxes, drop-down lists) keep the
// system's colours, and so does a control marked theme-immune. The
// colouring owns the background brush for as long as it is applied.
//
// On Windows, check boxes, option buttons and group boxes drawn with a
// visual style ignore the text colour given at WM_CTLCOLORSTATIC; their
// style is switched off while colours other than the system's apply, and
// switched back on for the system look. Group boxes go further and draw
// their caption in the style's colour regardless, so while colours apply
// their frame and caption are painted here. The colouring must outlive the
// controls of the window it was applied to.

#include <windows.h>

#include <optional>

#include "base/win/handles.h"

namespace vtq::wingui {

struct ColourPair {
  COLORREF background = 0;
  COLORREF text = 0;
};

// The window property that exempts a control from colouring.
inline constexpr const wchar_t* kThemeImmuneProperty = L"themeimmune";
void MarkThemeImmune(HWND control);
bool IsThemeImmune(HWND control);
// Removes the mark; windows that carry it call this before they go.
void ForgetThemeImmune(HWND control);

// Edit boxes, combo boxes and list boxes: they keep their own colours.
bool HoldsEditableText(HWND control);
// Check boxes, option buttons and group boxes (push buttons are not).
bool IsStyledButton(HWND control);

class WindowColouring {
 public:
  // Applies `colours` to `window`; nullopt gives the system look (theme
  // "Windows default"). Repaints the window and its controls.
  void Apply(HWND window, std::optional<ColourPair> colours);

  // The answer to a WM_CTLCOLOR* message of the window, or nullopt when the
  // system's own handling applies.
  std::optional<HBRUSH> Answer(UINT message, HDC dc, HWND control) const;

  std::optional<ColourPair> Colours() const { return colours_; }
  // What a control painted by us fills its background with.
  COLORREF Background() const;

 private:
  std::optional<ColourPair> colours_;
  base::win::GdiObject<HBRUSH> brush_;
};

}  // namespace vtq::wingui
