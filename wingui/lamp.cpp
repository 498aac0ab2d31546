#include "wingui/lamp.h"

#include <algorithm>

#include "base/win/handles.h"
#include "base/win/restore_guards.h"

namespace vtq::wingui {
namespace {

// The control's user data holds the colour with this bit above the 24 bits
// of a colour value, so that black stays distinguishable from "no lamp".
constexpr LONG_PTR kLampMark = LONG_PTR{1} << 24;

// A rim that stands out from the background, so that a dark red lamp stays
// visible on a black or red theme.
COLORREF RimFor(COLORREF background) {
  const int luminance =
      (GetRValue(background) * 299 + GetGValue(background) * 587 + GetBValue(background) * 114) /
      1000;
  return luminance < 128 ? RGB(224, 224, 224) : GetSysColor(COLOR_3DDKSHADOW);
}

}  // namespace

void MakeLamp(HWND control, COLORREF colour) {
  SetLampColour(control, colour);
}

bool IsLamp(HWND control) {
  return (GetWindowLongPtrW(control, GWLP_USERDATA) & kLampMark) != 0;
}

void SetLampColour(HWND lamp, COLORREF colour) {
  SetWindowLongPtrW(lamp, GWLP_USERDATA, kLampMark | static_cast<LONG_PTR>(colour & 0xFFFFFF));
  InvalidateRect(lamp, nullptr, TRUE);
}

std::optional<COLORREF> LampColour(HWND control) {
  const LONG_PTR data = GetWindowLongPtrW(control, GWLP_USERDATA);
  if ((data & kLampMark) == 0)
    return std::nullopt;
  return static_cast<COLORREF>(data & 0xFFFFFF);
}

bool DrawLamp(const DRAWITEMSTRUCT& item, COLORREF background) {
  const auto colour = LampColour(item.hwndItem);
  if (item.CtlType != ODT_STATIC || !colour)
    return false;
  const RECT& area = item.rcItem;
  base::win::GdiObject<HBRUSH> backBrush(CreateSolidBrush(background));
  FillRect(item.hDC, &area, backBrush.Get());

  // A circle centred in the control, as large as its shorter side allows.
  const int side = std::min(area.right - area.left, area.bottom - area.top) - 1;
  const int left = area.left + (area.right - area.left - side) / 2;
  const int top = area.top + (area.bottom - area.top - side) / 2;
  base::win::GdiObject<HBRUSH> fill(CreateSolidBrush(*colour));
  base::win::GdiObject<HPEN> rim(CreatePen(PS_INSIDEFRAME, 2, RimFor(background)));
  base::win::ScopedSelectObject brushGuard(item.hDC, fill.Get());
  base::win::ScopedSelectObject penGuard(item.hDC, rim.Get());
  Ellipse(item.hDC, left, top, left + side, top + side);
  return true;
}

}  // namespace vtq::wingui
