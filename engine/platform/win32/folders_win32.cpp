// Folder enumeration through FindFirstFileW/FindNextFileW, the names
// handed on in UTF-8.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/utf8_text.h"
#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "engine/platform/platform.h"

namespace vtq {
namespace {

FindEntry ToEntry(const WIN32_FIND_DATAW& data) {
  const size_t units = wcsnlen(data.cFileName, MAX_PATH);
  const std::string name = base::ToUtf8(std::wstring_view(data.cFileName, units));
  static_assert(FindEntry::kNameField >= 3 * MAX_PATH);
  FindEntry entry;
  std::memcpy(entry.name.data(), name.data(), std::min(name.size(), FindEntry::kNameField));
  entry.attributes = data.dwFileAttributes;
  return entry;
}

class Win32Folders final : public FolderEnumerator {
 public:
  bool Enumerate(const std::string& pattern,
                 const std::function<void(const FindEntry&)>& visit) override {
    WIN32_FIND_DATAW data{};
    const base::win::FindHandle find(FindFirstFileW(base::win::WidePath(pattern).c_str(), &data));
    // A drive root has no "." and "..": an empty disk finds nothing, and is
    // still a folder that was read.
    if (!find)
      return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
      visit(ToEntry(data));
    } while (FindNextFileW(find.Get(), &data));
    return true;
  }
};

}  // namespace

FolderEnumerator& SystemFolders() {
  static Win32Folders folders;
  return folders;
}

}  // namespace vtq
