#include "wingui/colouring.h"

#include <uxtheme.h>

#include <cwchar>

namespace vtq::wingui {
namespace {

bool ClassIs(HWND control, const wchar_t* name) {
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  return _wcsicmp(className, name) == 0;
}

// Turns the visual style of the styled buttons of `window` off (colours of
// our own) or back on (the system look).
BOOL CALLBACK SetButtonStyle(HWND control, LPARAM plain) {
  if (IsStyledButton(control) && !IsThemeImmune(control)) {
    if (plain)
      SetWindowTheme(control, L"", L"");
    else
      SetWindowTheme(control, nullptr, nullptr);
  }
  return TRUE;
}

}  // namespace

void MarkThemeImmune(HWND control) {
  SetPropW(control, kThemeImmuneProperty, reinterpret_cast<HANDLE>(1));
}

bool IsThemeImmune(HWND control) {
  return GetPropW(control, kThemeImmuneProperty) != nullptr;
}

void ForgetThemeImmune(HWND control) {
  RemovePropW(control, kThemeImmuneProperty);
}

bool HoldsEditableText(HWND control) {
  return ClassIs(control, L"Edit") || ClassIs(control, L"ComboBox") ||
         ClassIs(control, L"ComboLBox") || ClassIs(control, L"ListBox");
}

bool IsStyledButton(HWND control) {
  if (!ClassIs(control, L"Button"))
    return false;
  switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
      return true;
    default:
      return false;
  }
}

void WindowColouring::Apply(HWND window, std::optional<ColourPair> colours) {
  colours_ = colours;
  brush_.Reset(colours ? CreateSolidBrush(colours->background) : nullptr);
  EnumChildWindows(window, SetButtonStyle, colours ? 1 : 0);
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

std::optional<HBRUSH> WindowColouring::Answer(UINT message, HDC dc, HWND control) const {
  if (!colours_ || !brush_)
    return std::nullopt;
  if (message != WM_CTLCOLORDLG && message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN)
    return std::nullopt;
  if (message != WM_CTLCOLORDLG && (HoldsEditableText(control) || IsThemeImmune(control)))
    return std::nullopt;
  SetTextColor(dc, colours_->text);
  SetBkColor(dc, colours_->background);
  return brush_.Get();
}

COLORREF WindowColouring::Background() const {
  return colours_ ? colours_->background : GetSysColor(COLOR_BTNFACE);
}

}  // namespace vtq::wingui
