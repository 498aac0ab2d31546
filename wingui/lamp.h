#pragma once
// An indicator lamp: an owner-drawn static that shows a filled circle in
// one exact colour value. The colour is the lamp's state; it lives in the
// control itself and reads back unchanged, so that whoever drives the
// window can compare it exactly.

#include <windows.h>

#include <optional>

namespace vtq::wingui {

inline constexpr COLORREF kLampGreen = RGB(0, 255, 0);    // 65280: chosen
inline constexpr COLORREF kLampDarkRed = RGB(192, 0, 0);  // 192: not chosen

// Turns an SS_OWNERDRAW static into a lamp showing `colour`.
void MakeLamp(HWND control, COLORREF colour = kLampDarkRed);
bool IsLamp(HWND control);
void SetLampColour(HWND lamp, COLORREF colour);
// nullopt for a control that is not a lamp.
std::optional<COLORREF> LampColour(HWND control);

// Paints a lamp for WM_DRAWITEM; false when the item is not a lamp.
bool DrawLamp(const DRAWITEMSTRUCT& item, COLORREF background);

}  // namespace vtq::wingui
