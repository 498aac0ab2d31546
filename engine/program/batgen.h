#pragma once
// The text of a DOS batch file that rejoins a raw fragment series with
// "copy /b" and, for a cabinet, extracts it. Not part of the control's build.
//
// File names and intro lines go into the batch text with the characters
// that cmd.exe would act on escaped ("%" doubled everywhere, "^" before
// & | < > ^ where a line is not quoted), so that the batch file only ever
// joins, extracts and deletes the files it names. Names without such
// characters come out unchanged.
//
// cmd reads a batch file in the console's (OEM) code page, so the file is
// written in it: a name that page cannot carry gets no batch file. (A
// "chcp 65001" line inside the file would switch later lines to UTF-8 on
// the newer systems only: the older ones and Wine's cmd stop or read the
// rest in the OEM page, and the file would join the wrong names.)

#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/platform.h"

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

// The first character of a name that no quoting in a batch line carries: a
// double quote ends the quoted name early and lets the rest of it run as
// commands; a control character (CR and LF above all) ends the line and
// starts one of the name's own. nullopt for a name that is safe.
std::optional<char> FirstUnsafeBatchCharacter(std::string_view name);
// Names the character and the name, both with control characters shown
// escaped; the title is kBatUnavailableTitle.
std::string BatUnsafeNameText(std::string_view name, char unsafe);
// Why no batch file can name `name` (UTF-8): a character that no quoting
// carries (BatUnsafeNameText), or one that `console` has no form for; the
// title is kBatUnavailableTitle. nullopt for a name a batch file carries.
std::optional<std::string> BatNameProblem(std::string_view name, const base::CodePage& console);
// The batch text (UTF-8) as cmd reads it: in `console`'s bytes, anything
// the page cannot carry (only the intro text can hold such) shown as "?".
std::string BatFileBytes(std::string_view text, const base::CodePage& console);

// The ECHO lines of the intro text ("BATGenIText", its default when missing).
std::string BatIntroText(SettingsSource* settings);
// The whole batch text; settings are read at every call. The name must be
// one FirstUnsafeBatchCharacter accepts.
std::string BatGenText(const BatGenSeries& series, SettingsSource* settings);
// BatGenText in `console`'s bytes for a name BatNameProblem accepts; for
// any other an exclamation box that says why, and the empty text, so that
// no caller can write a batch file that runs part of a name or joins
// another one.
std::string CheckedBatGenText(const BatGenSeries& series, const Platform& platform);

// Text for an unquoted batch line (ECHO): metacharacters outside double
// quotes get a "^", every "%" is doubled.
std::string EscapeBatchUnquoted(std::string_view text);
// Text inside double quotes of a batch line: every "%" is doubled.
std::string EscapeBatchQuoted(std::string_view text);

}  // namespace vtq
