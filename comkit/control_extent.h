#pragma once
// The units a control's size passes through: twips (1/1440 inch) as the
// control states it, HIMETRIC (1/100 mm) as OLE containers exchange it, and
// pixels of the screen for its window.

#include <windows.h>

namespace vtq::comkit {

struct Dpi {
  int x;
  int y;
};

// The screen's logical pixels per inch (96 at "normal size").
Dpi ScreenDpi();

// Rounded to the nearest unit, as containers round when they convert back.
SIZEL TwipsToHimetric(SIZE twips);
SIZE TwipsToPixels(SIZE twips, Dpi dpi);

}  // namespace vtq::comkit
