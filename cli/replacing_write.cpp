#include "cli/replacing_write.h"

#include <utility>

// Before file_io.h, which takes back the name windows.h gives ReplaceFile.
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "engine/error.h"
#include "engine/file_io.h"
#include "engine/platform/system_error.h"

namespace vtq::cli {
namespace {

// Working names tried before giving up: leftovers of runs that were killed
// may hold a few of them.
constexpr int kWorkingNameTries = 100;

#ifdef _WIN32
using Native = HANDLE;
const Native kNoFile = INVALID_HANDLE_VALUE;
bool AlreadyThere() {
  const DWORD code = GetLastError();
  return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
}
Native CreateNew(const std::string& name) {
  return CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}
void CloseNative(Native file) {
  CloseHandle(file);
}
bool WriteAll(Native file, std::string_view text) {
  while (!text.empty()) {
    DWORD put = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) || put == 0)
      return false;
    text.remove_prefix(put);
  }
  return true;
}
#else
using Native = int;
const Native kNoFile = -1;
bool AlreadyThere() {
  return errno == EEXIST;
}
Native CreateNew(const std::string& name) {
  int fd;
  do {
    fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}
void CloseNative(Native file) {
  close(file);
}
bool WriteAll(Native file, std::string_view text) {
  while (!text.empty()) {
    const ssize_t put = write(file, text.data(), text.size());
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0) {
      if (put == 0)
        errno = ENOSPC;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}
#endif

// The working file while it is written: closed and, unless kept, removed.
class WorkingFile {
 public:
  explicit WorkingFile(const std::string& target) {
    for (int i = 0; i < kWorkingNameTries; ++i) {
      name_ = target + ".vtq" + std::to_string(i);
      file_ = CreateNew(name_);
      if (file_ != kNoFile)
        return;
      if (!AlreadyThere())
        break;
    }
    RaiseLastFileError(name_);
  }
  ~WorkingFile() {
    Close();
    if (kept_)
      return;
    try {
      RemoveFile(name_);
    } catch (const VbError&) {
      // Already gone, or not ours to remove: the failure that led here counts.
    }
  }
  WorkingFile(const WorkingFile&) = delete;
  WorkingFile& operator=(const WorkingFile&) = delete;

  void Write(std::string_view text) {
    if (!WriteAll(file_, text))
      RaiseLastFileError(name_);
  }
  void Close() {
    if (file_ != kNoFile)
      CloseNative(std::exchange(file_, kNoFile));
  }
  void MoveOver(const std::string& target) {
    Close();
    ReplaceFile(name_, target);
    kept_ = true;
  }

 private:
  std::string name_;
  Native file_ = kNoFile;
  bool kept_ = false;
};

}  // namespace

void WriteFileReplacing(const std::string& name, std::string_view text) {
  WorkingFile working(name);
  working.Write(text);
  working.MoveOver(name);
}

}  // namespace vtq::cli
