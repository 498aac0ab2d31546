#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/platform/system_error.h"

namespace vtq {

namespace {

// One system call moves at most this much, so that counts fit a DWORD.
constexpr size_t kChunk = size_t{1} << 30;

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// Others may read, write and delete what we hold open, as the classic file
// statements allow; the series files are often inspected while a run goes on.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool Attributes(const std::string& name, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(base::win::WidePath(name).c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

File::File(const std::string& name, Mode mode) : name_(name) {
  if (name.empty())
    Raise(err::kPathFileAccess);
  const bool reading = mode == Mode::kRead;
  DWORD disposition = OPEN_EXISTING;
  if (mode == Mode::kReplace)
    disposition = CREATE_ALWAYS;
  else if (mode == Mode::kCreateNew)
    disposition = CREATE_NEW;
  // Readers go through a file from start to end (the series queries read
  // only its first bytes): the cache reads ahead further.
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | (reading ? FILE_FLAG_SEQUENTIAL_SCAN : 0);
  HANDLE handle =
      CreateFileW(base::win::WidePath(name).c_str(), reading ? GENERIC_READ : GENERIC_WRITE,
                  kShareAll, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    RaiseLastFileError(name);
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  // Pipes, consoles and other devices have no length and no end to read to.
  if (reading && GetFileType(handle) != FILE_TYPE_DISK) {
    Close();
    Raise(err::kPathFileAccess);
  }
}

File::~File() {
  Close();
}

File::File(File&& other) noexcept
    : name_(std::move(other.name_)), handle_(std::exchange(other.handle_, kClosed)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    name_ = std::move(other.name_);
    handle_ = std::exchange(other.handle_, kClosed);
  }
  return *this;
}

bool File::IsOpen() const {
  return handle_ != kClosed;
}

void File::Close() {
  if (IsOpen()) {
    const base::win::FileHandle closing(AsHandle(std::exchange(handle_, kClosed)));
  }
}

size_t File::Read(void* data, size_t size) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  auto* out = static_cast<char*>(data);
  size_t total = 0;
  while (total < size) {
    const auto chunk = static_cast<DWORD>(std::min(size - total, kChunk));
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), out + total, chunk, &got, nullptr))
      RaiseLastFileError(name_);
    if (got == 0)
      break;  // end of file
    total += got;
  }
  return total;
}

void File::Write(const void* data, size_t size) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  const auto* in = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const auto chunk = static_cast<DWORD>(std::min(size - done, kChunk));
    DWORD put = 0;
    // A full disk first takes part of the bytes and reports success; only the
    // next write fails (ERROR_DISK_FULL). Every count is checked for that.
    if (!WriteFile(AsHandle(handle_), in + done, chunk, &put, nullptr))
      RaiseLastFileError(name_);
    if (put == 0)
      Raise(err::kDiskFull);
    done += put;
  }
}

void File::Seek(uint64_t offset) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN))
    RaiseLastFileError(name_);
}

// Windows has no copy between two open handles; the buffer's large
// transfers over handles opened for sequential scanning do it.
void File::CopyInKernel(File& /*target*/, uint64_t& /*left*/) {}

uint64_t File::Length() const {
  if (!IsOpen())
    Raise(err::kBadFileName);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(AsHandle(handle_), &size))
    RaiseLastFileError(name_);
  return static_cast<uint64_t>(size.QuadPart);
}

uint64_t FileLength(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(name, data))
    RaiseLastLengthError(name);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    Raise(err::kFileNotFound);
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FileExists(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(name, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(name, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSymbolicLink(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(name, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void RemoveFile(const std::string& name) {
  if (!DeleteFileW(base::win::WidePath(name).c_str()))
    RaiseLastFileError(name);
}

void ReplaceFile(const std::string& from, const std::string& to) {
  if (!MoveFileExW(base::win::WidePath(from).c_str(), base::win::WidePath(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    RaiseLastFileError(from);
  }
}

bool MoveToFreeName(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING a taken name is refused, not replaced.
  if (MoveFileExW(base::win::WidePath(from).c_str(), base::win::WidePath(to).c_str(), 0))
    return true;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
    return false;
  RaiseFileError(error, from);
}

}  // namespace vtq
