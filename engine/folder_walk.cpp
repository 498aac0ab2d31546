// The depth-first gathering of files behind FileList::AddFolderContents.

#include "engine/folder_walk.h"

#include <utility>

#include "engine/path.h"
#include "engine/wildcard.h"

namespace vtq {

std::string TrimAtNull(std::string_view field) {
  return std::string(field.substr(0, field.find('\0')));
}

void CollectFolderFiles(FolderEnumerator& folders, std::string folder,
                        std::string_view folderPattern, std::string_view filePattern,
                        std::vector<std::string>& target) {
  folder = WithTrailingSeparator(std::move(folder));
  const bool folderMatches = WildcardMatch(folder, folderPattern);
  folders.Enumerate(folder + "*", [&](const FindEntry& entry) {
    const std::string name = TrimAtNull(std::string_view(entry.name.data(), entry.name.size()));
    // An empty name would stand for the folder itself and walk it for ever.
    if (name.empty())
      return;
    if (entry.attributes & FindEntry::kDirectory) {
      // A linked folder is not walked: two links to their parents would make
      // the walk endless, and a link may lead anywhere outside the folder.
      const bool linked = (entry.attributes & FindEntry::kReparsePoint) != 0;
      if (!linked && name != "." && name != "..") {
        CollectFolderFiles(folders, folder + name, folderPattern, filePattern, target);
      }
    } else if (folderMatches && WildcardMatch(name, filePattern)) {
      target.push_back(folder + name);
    }
  });
}

}  // namespace vtq
