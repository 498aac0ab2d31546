#pragma once
// OrrinShell: special folders, and shortcuts (.lnk files) through the
// shell's IShellLink. The calling thread must have COM.

#include <windows.h>

#include <string>

namespace orrin {

// The folder for a CSIDL number (sh_ShellFolders); "" when the system has
// none for it.
std::wstring SpecialFolder(HWND owner, int id);
std::wstring WindowsFolder();
std::wstring SystemFolder();

// The values of sh_Errors.
enum class LinkError {
  kNone = 0,
  kCouldNotCreateUpdate = 1,
  kEmptyString = 2,
  kBadParameter = 3,
};

// The fields of a shortcut. showCmd and hotKey are as the interface names
// them (show_CmdFlags: 5 normal, 3 maximised, 7 minimised; Lnk_HotKey).
struct LinkFields {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingFolder;
  std::wstring iconFile;
  int iconIndex = 0;
  int showCmd = 5;
  int hotKey = 0;
  std::wstring description;
};

// The link's file name, with ".lnk" added unless it ends in ".lnk" already.
std::wstring LinkFileName(const std::wstring& name);
// Whether a value is one of Lnk_HotKey's: none, or Ctrl+Alt, Ctrl+Shift or
// Alt+Shift with a digit or a letter.
bool IsLinkHotKey(int hotKey);
bool IsLinkShowCmd(int showCmd);

LinkError CreateLink(const std::wstring& linkFile, const LinkFields& fields);
LinkError ReadLink(const std::wstring& linkFile, LinkFields& fields);

}  // namespace orrin
