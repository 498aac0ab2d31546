#include <windows.h>

#include <optional>

#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "engine/platform/same_file.h"

namespace vtq {
namespace {

struct Identity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
};

std::optional<Identity> IdentityOf(const std::string& name) {
  // No access rights asked for: the file may be open for writing elsewhere.
  const base::win::FileHandle file(CreateFileW(
      base::win::WidePath(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file)
    return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.Get(), &info))
    return std::nullopt;
  return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The long form is already the full name.
std::wstring FullName(const std::string& name) {
  const std::wstring wide = base::win::WidePath(name);
  wchar_t buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(wide.c_str(), MAX_PATH * 2, buffer, nullptr);
  return (n == 0 || n >= MAX_PATH * 2) ? wide : std::wstring(buffer, n);
}

bool Exists(const std::string& name) {
  return GetFileAttributesW(base::win::WidePath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (!Exists(a) || !Exists(b))
    return false;
  const auto ia = IdentityOf(a);
  const auto ib = IdentityOf(b);
  if (ia && ib && (ia->indexHigh | ia->indexLow) != 0) {
    return ia->volume == ib->volume && ia->indexHigh == ib->indexHigh &&
           ia->indexLow == ib->indexLow;
  }
  // File systems without file indexes: names, case-insensitively.
  return lstrcmpiW(FullName(a).c_str(), FullName(b).c_str()) == 0;
}

}  // namespace vtq
