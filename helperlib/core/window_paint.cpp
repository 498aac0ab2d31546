#include "helperlib/core/window_paint.h"

#include <algorithm>

#include "base/win/device_contexts.h"
#include "base/win/handles.h"
#include "base/win/restore_guards.h"

namespace orrin {
namespace {

using vtq::base::win::GdiObject;

using vtq::base::win::MemoryDc;
using ClientDc = vtq::base::win::WindowDc;

int Between(int from, int to, long step, long steps) {
  return steps <= 1 ? from : from + static_cast<int>((to - from) * step / (steps - 1));
}

}  // namespace

bool FillGradient(HWND window, COLORREF top, COLORREF bottom, int bandHeight) {
  RECT client{};
  if (!IsWindow(window) || !GetClientRect(window, &client))
    return false;
  ClientDc dc(window);
  if (!dc.Get())
    return false;
  if (bandHeight < 1)
    bandHeight = 1;
  const long height = client.bottom - client.top;
  const long bands = (height + bandHeight - 1) / bandHeight;
  for (long band = 0; band < bands; ++band) {
    const COLORREF colour = RGB(Between(GetRValue(top), GetRValue(bottom), band, bands),
                                Between(GetGValue(top), GetGValue(bottom), band, bands),
                                Between(GetBValue(top), GetBValue(bottom), band, bands));
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT strip{client.left, client.top + band * bandHeight, client.right,
                     std::min<LONG>(client.bottom, client.top + (band + 1) * bandHeight)};
    if (!brush || !FillRect(dc.Get(), &strip, brush.Get()))
      return false;
  }
  return true;
}

bool TileBitmap(HWND window, HBITMAP bitmap) {
  RECT client{};
  BITMAP info{};
  if (!IsWindow(window) || !GetClientRect(window, &client) ||
      !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return false;
  }
  ClientDc dc(window);
  MemoryDc memory(dc.Get());
  if (!dc.Get() || !memory.Get())
    return false;
  bool ok = true;
  // The bitmap goes back out of the memory DC before the DC is deleted.
  vtq::base::win::ScopedSelectObject select(memory.Get(), bitmap);
  for (LONG y = client.top; y < client.bottom && ok; y += info.bmHeight) {
    for (LONG x = client.left; x < client.right && ok; x += info.bmWidth)
      ok = BitBlt(dc.Get(), x, y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY) != 0;
  }
  return ok;
}

}  // namespace orrin
