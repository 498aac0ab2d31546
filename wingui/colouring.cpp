#include "wingui/colouring.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cwchar>

#include "base/win/device_contexts.h"
#include "base/win/restore_guards.h"
#include "base/win/window_barrier.h"

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

constexpr UINT_PTR kGroupBoxSubclass = 0x56544731;

bool IsGroupBox(HWND control) {
  return IsStyledButton(control) &&
         (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A group box's frame and caption in the colours, drawn by us: group boxes
// draw their caption in the visual style's colour even with their style
// switched off (seen under Wine), whatever WM_CTLCOLORSTATIC said.
void PaintGroupBox(HWND box, const ColourPair& colours, HBRUSH background) {
  const base::win::PaintDc paint(box);
  const HDC dc = paint.Get();
  RECT area;
  GetClientRect(box, &area);
  const base::win::ScopedSelectObject font(
      dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = area;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

  wchar_t caption[256] = {};
  const int length = GetWindowTextW(box, caption, 256);
  if (length > 0) {
    RECT text{area.left + 6, area.top, area.right - 6, area.top + metrics.tmHeight};
    DrawTextW(dc, caption, length, &text, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
    RECT gap{text.left - 2, text.top, text.right + 2, text.bottom};
    FillRect(dc, &gap, background);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(box) ? colours.text : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption, length, &text, DT_SINGLELINE | DT_HIDEPREFIX);
  }
}

LRESULT CALLBACK GroupBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
  const auto* colouring = reinterpret_cast<const WindowColouring*>(data);
  switch (message) {
    case WM_PAINT:
      if (base::win::WindowBarrier<bool>(box, false, [&] {
            const auto colours = colouring->Colours();
            if (!colours || IsThemeImmune(box))
              return false;
            const auto brush =
                colouring->Answer(WM_CTLCOLORSTATIC, base::win::WindowDc(box).Get(), box);
            if (brush)
              PaintGroupBox(box, *colours, *brush);
            return brush.has_value();
          }))
        return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, GroupBoxProc, kGroupBoxSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

struct ColouringAndPlain {
  const WindowColouring* colouring;
  bool plain;
};

BOOL CALLBACK PrepareControl(HWND control, LPARAM data) {
  const auto* prepare = reinterpret_cast<const ColouringAndPlain*>(data);
  SetButtonStyle(control, prepare->plain ? 1 : 0);
  if (IsGroupBox(control))
    SetWindowSubclass(control, GroupBoxProc, kGroupBoxSubclass,
                      reinterpret_cast<DWORD_PTR>(prepare->colouring));
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
  ColouringAndPlain prepare{this, colours.has_value()};
  EnumChildWindows(window, PrepareControl, reinterpret_cast<LPARAM>(&prepare));
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
