#include "comkit/control_extent.h"

#include "base/win/device_contexts.h"

namespace vtq::comkit {

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kHimetricPerInch = 2540;
}  // namespace

Dpi ScreenDpi() {
  Dpi dpi{96, 96};
  const base::win::WindowDc screen(nullptr);
  if (screen.Get())
    dpi = {GetDeviceCaps(screen.Get(), LOGPIXELSX), GetDeviceCaps(screen.Get(), LOGPIXELSY)};
  return dpi;
}

SIZEL TwipsToHimetric(SIZE twips) {
  return {MulDiv(twips.cx, kHimetricPerInch, kTwipsPerInch),
          MulDiv(twips.cy, kHimetricPerInch, kTwipsPerInch)};
}

SIZE TwipsToPixels(SIZE twips, Dpi dpi) {
  return {MulDiv(twips.cx, dpi.x, kTwipsPerInch), MulDiv(twips.cy, dpi.y, kTwipsPerInch)};
}

}  // namespace vtq::comkit
