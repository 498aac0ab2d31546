#pragma once
// The text of a DOS batch file that rejoins a raw fragment series with
// "copy /b" and, for a cabinet, extracts it. Not part of the control's build.
//
// File names and intro lines go into the batch text with the characters
// that cmd.exe would act on escaped ("%" doubled everywhere, "^" before
// & | < > ^ where a line is not quoted), so that the batch file only ever
// joins, extracts and deletes the files it names. Names without such
// characters come out unchanged.

#include <string>
#include <string_view>

#include "engine/platform.h"

namespace vtq {

struct BatGenSeries {
  std::string sourceName;  // base name of the source file
  int fragmentCount = 1;
  bool cabinetIsMultifile = false;
};

// Setting names of the program key and their defaults.
inline constexpr std::string_view kBatIntroSetting = "BATGenIText";
inline constexpr std::string_view kBatDecompressSetting = "BATGenDecomp";
inline constexpr std::string_view kBatDeleteCabsSetting = "BATGenDelCabs";
inline constexpr std::string_view kBatDecompressDefault = "1";
inline constexpr std::string_view kBatDeleteCabsDefault = "0";
// The intro text a batch file shows when nothing else is stored (also the
// settings store's default and the dialog's "Restore Defaults").
inline constexpr std::string_view kDefaultBatIntroText =
    "*** File splitted and BAT assembler created using Quorvelle Vantrelloquin ***\r\n"
    "    * Cut to fit any disk, joined on any PC: Quorvelle Vantrelloquin *\r\n";

// The message shown when batch generation is asked for a series that is
// not raw.
inline constexpr std::string_view kBatUnavailableTitle = "BAT Unavailable";
inline constexpr std::string_view kBatUnavailableText =
    "BAT Generation unavailable for selected options. The BAT file will not be generated.";
void ShowBatUnavailable(MessageBoxes& boxes);

// The ECHO lines of the intro text ("BATGenIText", its default when missing).
std::string BatIntroText(SettingsSource* settings);
// The whole batch text; settings are read at every call.
std::string BatGenText(const BatGenSeries& series, SettingsSource* settings);

// Text for an unquoted batch line (ECHO): metacharacters outside double
// quotes get a "^", every "%" is doubled.
std::string EscapeBatchUnquoted(std::string_view text);
// Text inside double quotes of a batch line: every "%" is doubled.
std::string EscapeBatchQuoted(std::string_view text);

}  // namespace vtq
