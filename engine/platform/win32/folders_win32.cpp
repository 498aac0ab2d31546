// Folder enumeration through FindFirstFileA/FindNextFileA. The name field is
// handed on exactly as the system filled it; the walk cuts it at its NUL.
#include <windows.h>

#include <cstring>

#include "base/win/handles.h"
#include "engine/platform/platform.h"

namespace vtq {
namespace {

FindEntry ToEntry(const WIN32_FIND_DATAA& data) {
  static_assert(sizeof(data.cFileName) == FindEntry::kNameField);
  FindEntry entry;
  std::memcpy(entry.name.data(), data.cFileName, FindEntry::kNameField);
  entry.attributes = data.dwFileAttributes;
  return entry;
}

class Win32Folders final : public FolderEnumerator {
 public:
  bool Enumerate(const std::string& pattern,
                 const std::function<void(const FindEntry&)>& visit) override {
    WIN32_FIND_DATAA data{};
    const base::win::FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    // A drive root has no "." and "..": an empty disk finds nothing, and is
    // still a folder that was read.
    if (!find)
      return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
      visit(ToEntry(data));
    } while (FindNextFileA(find.Get(), &data));
    return true;
  }
};

}  // namespace

FolderEnumerator& SystemFolders() {
  static Win32Folders folders;
  return folders;
}

}  // namespace vtq
