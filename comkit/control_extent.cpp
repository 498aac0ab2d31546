#include "comkit/control_extent.h"

namespace vtq::comkit {

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kHimetricPerInch = 2540;
}  // namespace

Dpi ScreenDpi() {
  Dpi dpi{96, 96};
  if (HDC screen = GetDC(nullptr)) {
    dpi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
  }
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
