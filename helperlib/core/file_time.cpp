#include "helperlib/core/file_time.h"

#include <windows.h>
#include <oleauto.h>

#include "base/win/handles.h"
#include "base/win/wide_path.h"

namespace orrin {
namespace {

using vtq::base::win::FileHandle;

FileHandle Open(const std::wstring& file, DWORD access) {
  // Folders have times too; they open only with backup semantics.
  return FileHandle(CreateFileW(vtq::base::win::LongPathForm(file).c_str(), access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

struct Times {
  FILETIME created{}, accessed{}, written{};
  FILETIME& Of(FileTimeKind kind) {
    return kind == FileTimeKind::kCreated        ? created
           : kind == FileTimeKind::kLastAccessed ? accessed
                                                 : written;
  }
};

std::optional<double> ToLocalDate(const FILETIME& utc) {
  SYSTEMTIME universal{}, local{};
  double date = 0;
  if (!FileTimeToSystemTime(&utc, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
      !SystemTimeToVariantTime(&local, &date)) {
    return std::nullopt;
  }
  return date;
}

std::optional<FILETIME> FromLocalDate(double date) {
  SYSTEMTIME local{}, universal{};
  FILETIME utc{};
  if (!VariantTimeToSystemTime(date, &local) ||
      !TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) ||
      !SystemTimeToFileTime(&universal, &utc)) {
    return std::nullopt;
  }
  return utc;
}

bool SetTimes(const std::wstring& file, FileTimeKind kind, const Times& times) {
  FileHandle handle = Open(file, FILE_WRITE_ATTRIBUTES);
  if (!handle)
    return false;
  const bool all = kind == FileTimeKind::kAll;
  return SetFileTime(handle.Get(), all || kind == FileTimeKind::kCreated ? &times.created : nullptr,
                     all || kind == FileTimeKind::kLastAccessed ? &times.accessed : nullptr,
                     all || kind == FileTimeKind::kLastWritten ? &times.written : nullptr) != 0;
}

}  // namespace

std::optional<double> ReadFileTime(const std::wstring& file, FileTimeKind kind) {
  FileHandle handle = Open(file, FILE_READ_ATTRIBUTES);
  Times times;
  if (!handle || !GetFileTime(handle.Get(), &times.created, &times.accessed, &times.written))
    return std::nullopt;
  return ToLocalDate(times.Of(kind));
}

bool WriteFileTime(const std::wstring& file, FileTimeKind kind, double localDate) {
  const auto utc = FromLocalDate(localDate);
  if (!utc)
    return false;
  return SetTimes(file, kind, Times{*utc, *utc, *utc});
}

bool CopyFileTime(const std::wstring& file, FileTimeKind kind, const std::wstring& from) {
  FileHandle handle = Open(from, FILE_READ_ATTRIBUTES);
  Times times;
  if (!handle || !GetFileTime(handle.Get(), &times.created, &times.accessed, &times.written))
    return false;
  return SetTimes(file, kind, times);
}

}  // namespace orrin
