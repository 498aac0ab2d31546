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
  font.lfHeight =
      -MulDiv(std::abs(height), look.font.hundredthsOfPoint * kTwipsPerPoint, look.twips.cy * 100);
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
  // A caption wider than the control breaks between words, and the lines
  // are centred as a block.
  constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT text = bounds;
  const int height = DrawTextW(dc, look.caption, -1, &text, kFormat | DT_CALCRECT);
  text = bounds;
  text.top += ((bounds.bottom - bounds.top) - height) / 2;
  DrawTextW(dc, look.caption, -1, &text, kFormat);
  SetTextColor(dc, colour);
  SetBkMode(dc, mode);
}

}  // namespace vtq::comkit
