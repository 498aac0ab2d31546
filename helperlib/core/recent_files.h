#pragma once
// LastFile: a most-recently-used list of file names in the registry, the
// newest first, in values "File1", "File2", ...

#include <windows.h>

#include <string>
#include <vector>

#include "helperlib/core/registry.h"

namespace orrin {

inline constexpr int kDefaultRecentFiles = 4;

// Puts `file` first; an entry of the same name (in any case) moves up
// rather than appearing twice, and entries beyond maxItems are removed. An
// empty name or a maxItems below 1 changes nothing.
bool AddRecentFile(Registry& registry, HKEY root, const std::wstring& section,
                   const std::wstring& file, int maxItems = kDefaultRecentFiles);
// The list as stored, newest first.
std::vector<std::wstring> RecentFiles(Registry& registry, HKEY root, const std::wstring& section);

}  // namespace orrin
