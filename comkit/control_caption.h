#pragma once
// The control's whole face: its caption in its font, centred on the
// button-face colour (in two lines where the caption is wider than the
// control, as the product's caption is at 8.25 points). The same drawing serves the in-place window
// and IViewObject::Draw into any device context, so the font is sized to the rectangle drawn into:
// it keeps the share of the control's height that its point size has of the control's height in
// points, which at the screen's resolution is exactly the stated point size.

#include <windows.h>

#include "base/win/handles.h"
#include "comkit/control_look.h"

namespace vtq::comkit {

// The caption font for a rectangle `height` logical units high that
// stands for the control's full height.
base::win::GdiObject<HFONT> CreateCaptionFont(const ControlLook& look, int height);

// Fills `bounds` and draws the caption centred in it, broken between
// words where it is wider than the bounds.
void DrawCaption(HDC dc, const RECT& bounds, const ControlLook& look);

}  // namespace vtq::comkit
