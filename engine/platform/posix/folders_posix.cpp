// Folder enumeration natively, shaped like FindFirstFileA's: "." and ".."
// come first, names arrive in fixed-length NUL-padded fields, folders carry
// the directory attribute. Only the pattern folder + "*" is understood.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "engine/platform/platform.h"

namespace vtq {
namespace {

constexpr uint32_t kArchive = 0x20;  // what Windows reports for a plain file

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

FindEntry MakeEntry(std::string_view name, uint32_t attributes) {
  FindEntry entry;
  std::memcpy(entry.name.data(), name.data(), std::min(name.size(), FindEntry::kNameField - 1));
  entry.attributes = attributes;
  return entry;
}

// The attributes Windows would report: a symbolic link to a folder is a
// folder and a reparse point, so that the walk can leave it alone.
uint32_t AttributesOf(const std::string& folder, const dirent& entry) {
  if (entry.d_type == DT_DIR)
    return FindEntry::kDirectory;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
    return kArchive;
  const std::string path = folder + entry.d_name;
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0)
    return kArchive;
  if (S_ISDIR(link.st_mode))
    return FindEntry::kDirectory;
  struct stat target {};
  if (S_ISLNK(link.st_mode) && stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
    return FindEntry::kDirectory | FindEntry::kReparsePoint;
  return kArchive;
}

class PosixFolders final : public FolderEnumerator {
 public:
  bool Enumerate(const std::string& pattern,
                 const std::function<void(const FindEntry&)>& visit) override {
    if (pattern.empty() || pattern.back() != '*')
      return false;
    const std::string folder = pattern.substr(0, pattern.size() - 1);
    if (!folder.empty() && folder.back() != '/')
      return false;
    const DirHandle dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
      return false;
    if (folder != "/") {
      visit(MakeEntry(".", FindEntry::kDirectory));
      visit(MakeEntry("..", FindEntry::kDirectory));
    }
    while (const dirent* entry = readdir(dir.get())) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..")
        continue;
      visit(MakeEntry(name, AttributesOf(folder, *entry)));
    }
    return true;
  }
};

}  // namespace

FolderEnumerator& SystemFolders() {
  static PosixFolders folders;
  return folders;
}

}  // namespace vtq
