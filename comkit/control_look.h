#pragma once
// What a fixed-size ActiveX control is, before any container sees it: its
// class, the size it always keeps (in twips, as form designers measure),
// the one caption it draws and the font it draws it in, and the OLEMISC
// bits of its content aspect. A derived control hands one of these, with
// static lifetime, to ActiveXControl.

#include <windows.h>

namespace vtq::comkit {

struct ControlFont {
  const wchar_t* name;
  int hundredthsOfPoint;  // 8.25 points is 825
  bool bold;
};

struct ControlLook {
  const CLSID* clsid;
  SIZE twips;
  const wchar_t* caption;
  ControlFont font;
  DWORD miscStatus;  // the same value the class registers (ControlDescription)
};

}  // namespace vtq::comkit
