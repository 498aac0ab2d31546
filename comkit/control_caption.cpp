#include "comkit/control_caption.h"

#include <cstdlib>

#include "base/win/restore_guards.h"

namespace vtq::comkit {

namespace {
constexpr int kTwipsPerPoint = 20;
}  // namespace

base::win::GdiObject<HFONT> CreateCaptionFont(const ControlLook& look, int height) {
  LOGFONTW font = {};
  // Character height (negative): points share of the control's height.
  font.lfHeight = -MulDiv(std::abs(height), look.font.hundredthsOfPoint * kTwipsPerPoint,
                          look.twips.cy * 100);
  font.lfWeight = look.font.bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, look.font.name, LF_FACESIZE);
  return base::win::GdiObject<HFONT>(CreateFontIndirectW(&font));
}

void DrawCaption(HDC dc, const RECT& bounds, const ControlLook& look) {
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
  const auto font = CreateCaptionFont(look, bounds.bottom - bounds.top);
  base::win::ScopedSelectObject selected(dc, font.Get());
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT text = bounds;
  DrawTextW(dc, look.caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, colour);
  SetBkMode(dc, mode);
}

}  // namespace vtq::comkit
