#pragma once
// Gathering the files of a folder and the folders below it, through the
// platform's folder enumeration.

#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/platform.h"

namespace vtq {

// A fixed-length name field (FindEntry::name) cut at its first NUL.
std::string TrimAtNull(std::string_view field);

// Depth-first walk of `folder`, appending folder + name of every file whose
// folder matches `folderPattern` and whose name matches `filePattern`
// (engine/wildcard.h).
void CollectFolderFiles(FolderEnumerator& folders, std::string folder,
                        std::string_view folderPattern, std::string_view filePattern,
                        std::vector<std::string>& target);

}  // namespace vtq
