#include "helperlib/core/file_exists.h"

#include <windows.h>

#include "base/win/handles.h"
#include "base/win/wide_path.h"

namespace orrin {

bool FileExists(const std::wstring& name) {
  if (name.empty())
    return false;
  const vtq::base::win::FileHandle file(
      CreateFileW(vtq::base::win::LongPathForm(name).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file)
    return true;
  // Held open by someone who shares nothing: it exists all the same.
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace orrin
