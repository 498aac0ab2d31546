#include "helperlib/core/file_copy.h"

#include <windows.h>

#include <vector>

#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "helperlib/core/exec_command.h"
#include "helperlib/core/path_words.h"

namespace orrin {
namespace {

using vtq::base::win::FileHandle;
using vtq::base::win::LongPathForm;

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
         x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

std::wstring Extension(const std::wstring& file) {
  const std::wstring last = ParentPath(file, PathPart::kLast);
  const size_t dot = last.rfind(L'.');
  if (dot == std::wstring::npos)
    return L"";
  std::wstring ext = last.substr(dot);
  CharLowerW(ext.data());
  return ext;
}

// A fresh file in the destination's folder for the copy to go into.
// GetTempFileName takes folders short of MAX_PATH only; in a longer one the
// name is found the same way, by creating it.
std::wstring TemporaryBeside(const std::wstring& destination) {
  std::wstring folder = ParentPath(destination);
  if (folder.empty() || folder.back() == L':')
    folder += folder.empty() ? L"." : L"\\";
  if (folder.size() < MAX_PATH - 14) {
    std::vector<wchar_t> name(MAX_PATH + folder.size() + 16);
    if (!GetTempFileNameW(folder.c_str(), L"orc", 0, name.data()))
      return L"";
    return name.data();
  }
  const DWORD start = GetTickCount();
  for (DWORD n = 0; n < 0x10000; ++n) {
    wchar_t leaf[16];
    wsprintfW(leaf, L"\\orc%04X.tmp", (start + n) & 0xFFFF);
    const std::wstring name = folder + leaf;
    const FileHandle created(CreateFileW(vtq::base::win::LongPathForm(name).c_str(), GENERIC_WRITE,
                                         0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (created)
      return name;
    if (GetLastError() != ERROR_FILE_EXISTS)
      return L"";
  }
  return L"";
}

}  // namespace

std::wstring RegistrationCommand(const std::wstring& file) {
  const std::wstring ext = Extension(file);
  if (ext == L".dll")
    return L"regsvr32.exe /s \"" + file + L"\"";
  if (ext == L".ocx")
    return L"regocx32.exe \"" + file + L"\"";
  return L"";
}

CopyResult CopyWithOptions(const std::wstring& source, const std::wstring& destination,
                           const CopyOptions& options) {
  FileHandle in(CreateFileW(LongPathForm(source).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                   error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH
               ? CopyResult::kSourceNotFound
               : CopyResult::kSourceAccessDenied;
  }
  FILETIME created{}, accessed{}, written{};
  GetFileTime(in.Get(), &created, &accessed, &written);

  const DWORD attributes = GetFileAttributesW(LongPathForm(destination).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return CopyResult::kDestNotCreatable;
    FileHandle existing(CreateFileW(LongPathForm(destination).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    // Copying a file onto itself would empty it.
    if (existing && SameFile(in.Get(), existing.Get()))
      return CopyResult::kDestExists;
    if (options.flags & kCopyDontReplace)
      return CopyResult::kDestExists;
    if (options.flags & kCopyReplaceIfNewer) {
      FILETIME destWritten{};
      if (existing && GetFileTime(existing.Get(), nullptr, nullptr, &destWritten)) {
        const LONG order = CompareFileTime(&written, &destWritten);
        if (order < 0)
          return CopyResult::kDestNewer;
        if (order == 0)
          return CopyResult::kDestExists;
      }
    }
    if ((options.flags & kCopyPromptReplace) && !(options.askReplace && options.askReplace()))
      return CopyResult::kDestExists;
  }

  const std::wstring temporary = TemporaryBeside(destination);
  if (temporary.empty())
    return CopyResult::kDestNotCreatable;
  bool copied = false;
  {
    FileHandle out(CreateFileW(LongPathForm(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out) {
      LARGE_INTEGER size{};
      GetFileSizeEx(in.Get(), &size);
      std::vector<BYTE> buffer(1 << 16);
      long long done = 0;
      if (options.progress)
        options.progress(0);
      copied = true;
      for (;;) {
        DWORD read = 0, wrote = 0;
        if (!ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
          copied = false;
          break;
        }
        if (read == 0)
          break;
        if (!WriteFile(out.Get(), buffer.data(), read, &wrote, nullptr) || wrote != read) {
          copied = false;
          break;
        }
        done += read;
        if (options.progress && size.QuadPart > 0)
          options.progress(static_cast<int>(done * 100 / size.QuadPart));
      }
      if (copied && !(options.flags & kCopyDontSyncDate))
        SetFileTime(out.Get(), &created, &accessed, &written);
    }
  }
  if (!copied || !MoveFileExW(LongPathForm(temporary).c_str(), LongPathForm(destination).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    DeleteFileW(LongPathForm(temporary).c_str());
    return CopyResult::kDestNotCreatable;
  }
  if (options.progress)
    options.progress(100);
  if (options.flags & kCopyRegister) {
    if (const std::wstring command = RegistrationCommand(destination); !command.empty()) {
      // Systems without the old OCX registrar register controls like DLLs.
      if (RunAndWait(command) != 0 && Extension(destination) == L".ocx")
        RunAndWait(L"regsvr32.exe /s \"" + destination + L"\"");
    }
  }
  return CopyResult::kNoError;
}

}  // namespace orrin
