#pragma once
// The text of a DOS batch file that rejoins a raw fragment series with
// "copy /b" and, for a cabinet, extracts it. Not part of the control's build.

#include <string>

#include "engine/platform.h"

namespace vtq {

struct BatGenSeries {
  std::string sourceName;  // base name of the source file
  int fragmentCount = 1;
  bool cabinetIsMultifile = false;
};

// The ECHO lines of the intro text ("BATGenIText", its default when missing).
std::string BatIntroText(SettingsSource* settings);
// The whole batch text; settings are read at every call.
std::string BatGenText(const BatGenSeries& series, SettingsSource* settings);

}  // namespace vtq
