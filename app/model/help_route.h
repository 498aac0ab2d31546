#pragma once
// Which help the help button opens. The program's WinHelp file opens at its
// contents page only where the system can still show it (a WinHelp viewer,
// winhlp32.exe, in the Windows folder): current Windows has none, and a
// missing file makes the viewer wait for an answer. Otherwise the user
// guide beside the program opens in the default viewer; with neither, the
// user is told so.

#include <string>
#include <string_view>

namespace vtq::model {

// Each name with the "\" that joins it to its folder.
inline constexpr std::wstring_view kHelpFileName = L"\\Vantrelloquin.hlp";
inline constexpr std::wstring_view kUserGuideName = L"\\Vantrelloquin.html";
inline constexpr std::wstring_view kHelpViewerName = L"\\winhlp32.exe";
inline constexpr std::string_view kNoHelpText =
    "Neither the help file nor the user guide (Vantrelloquin.html) was found in the program's "
    "folder. Please reinstall Vantrelloquin to get its help back.";
inline constexpr std::string_view kNoHelpTitle = "Help not found";
inline constexpr std::string_view kGuideNotOpenedTitle = "Help";

// The guide is there, but the system has no program that opens it.
std::wstring GuideNotOpenedText(std::wstring_view userGuide);

enum class HelpRoute { kHelpFile, kUserGuide, kNone };

struct HelpPlaces {
  std::wstring helpFile;  // the program's folder + "\Vantrelloquin.hlp"
  std::wstring userGuide;
  std::wstring viewer;  // the Windows folder + "\winhlp32.exe"
};

// Folders with or without a trailing "\".
HelpPlaces HelpPlacesFor(std::wstring_view programFolder, std::wstring_view windowsFolder);

HelpRoute ChooseHelpRoute(bool helpFileExists, bool viewerExists, bool userGuideExists);

}  // namespace vtq::model
