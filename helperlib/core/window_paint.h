#pragma once
// fillPict and TileBG: painting into a window's client area.

#include <windows.h>

namespace orrin {

// Horizontal bands of `bandHeight` pixels (at least 1) from `top` at the
// top to `bottom` at the bottom of the client area.
bool FillGradient(HWND window, COLORREF top, COLORREF bottom, int bandHeight);
// The bitmap repeated over the client area from its top-left corner.
bool TileBitmap(HWND window, HBITMAP bitmap);

}  // namespace orrin
