#pragma once
// The library's help file made known to the system's help and to the
// development environment's help contents, in places the current user may
// write: the values under HKEY_CURRENT_USER's help key, and an index line
// in the environment's contents file where that file exists and may be
// written. What cannot be written is left out without a word.

#include <string>

namespace orrin {

inline constexpr wchar_t kHelpKey[] = L"Software\\Microsoft\\Windows\\Help";

struct HelpNames {
  std::wstring hlpValue;   // "or32_" + version + ".hlp"
  std::wstring cntValue;   // "or32_" + version + ".cnt"
  std::wstring indexLine;  // ":INDEX ORRINMODULES32 " + version + "=OR32"
};
HelpNames HelpNamesFor(const std::wstring& version);

// The development environment's contents file: the folder stored under the
// help key's value "VB5.CNT" (the current user's, else the machine's)
// followed by "\vb5.cnt"; "" when it is not known.
std::wstring ContentsFile();

// Stores `helpFolder` for both values and adds the index line unless the
// contents file has it. Before its first change the contents file is kept
// as "vb5.cn1" beside it.
void RegisterHelp(const std::wstring& helpFolder, const std::wstring& version);
// Removes both values and the index line; true when none of them is left.
bool RemoveHelp(const std::wstring& version);

}  // namespace orrin
