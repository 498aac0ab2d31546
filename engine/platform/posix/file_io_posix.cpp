#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/platform/system_error.h"

namespace vtq {

namespace {

constexpr size_t kChunk = size_t{1} << 30;

int Descriptor(std::intptr_t handle) {
  return static_cast<int>(handle);
}

bool Status(const std::string& name, struct stat& info) {
  return stat(name.c_str(), &info) == 0;
}

// rename() cannot cross filesystems; the Windows build allows a copy there.
void CopyThenRemove(const std::string& from, const std::string& to) {
  File source(from, File::Mode::kRead);
  File target(to, File::Mode::kReplace);
  std::vector<char> buffer(size_t{1} << 20);
  for (size_t got; (got = source.Read(buffer.data(), buffer.size())) > 0;) {
    target.Write(buffer.data(), got);
  }
  target.Close();
  source.Close();
  RemoveFile(from);
}

}  // namespace

File::File(const std::string& name, Mode mode) : name_(name) {
  if (name.empty())
    Raise(err::kPathFileAccess);
  // Opening a FIFO for reading would wait for a writer: open without
  // waiting, look at what it is, and only then read as usual.
  int flags = O_RDONLY | O_NONBLOCK;
  if (mode == Mode::kReplace)
    flags = O_WRONLY | O_CREAT | O_TRUNC;
  else if (mode == Mode::kCreateNew)
    flags = O_WRONLY | O_CREAT | O_EXCL;  // with O_EXCL a link is never followed
  int fd;
  do {
    fd = open(name.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    RaiseLastFileError(name);
  handle_ = fd;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    Close();
    RaiseFileError(static_cast<SystemErrorCode>(error), name);
  }
  // A folder opens for reading here but not on Windows; refuse it alike.
  if (S_ISDIR(info.st_mode)) {
    Close();
    RaiseFileError(EISDIR, name);
  }
  // Pipes and devices have no length and no end to read to.
  if (mode == Mode::kRead && !S_ISREG(info.st_mode)) {
    Close();
    Raise(err::kPathFileAccess);
  }
  // No other status flag was asked for, so clearing them all clears the
  // one that matters in one call.
  if (mode == Mode::kRead)
    fcntl(fd, F_SETFL, 0);
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
  if (IsOpen())
    close(Descriptor(std::exchange(handle_, kClosed)));
}

size_t File::Read(void* data, size_t size) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  auto* out = static_cast<char*>(data);
  size_t total = 0;
  while (total < size) {
    const ssize_t got = read(Descriptor(handle_), out + total, std::min(size - total, kChunk));
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      RaiseLastFileError(name_);
    if (got == 0)
      break;  // end of file
    total += static_cast<size_t>(got);
  }
  return total;
}

void File::Write(const void* data, size_t size) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  const auto* in = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    // A short count is no error yet: the next call tells why (ENOSPC).
    const ssize_t put = write(Descriptor(handle_), in + done, std::min(size - done, kChunk));
    if (put < 0 && errno == EINTR)
      continue;
    if (put < 0)
      RaiseLastFileError(name_);
    if (put == 0)
      Raise(err::kDiskFull);
    done += static_cast<size_t>(put);
  }
}

void File::Seek(uint64_t offset) {
  if (!IsOpen())
    Raise(err::kBadFileName);
  if (lseek(Descriptor(handle_), static_cast<off_t>(offset), SEEK_SET) < 0)
    RaiseLastFileError(name_);
}

void File::CopyInKernel(File& target, uint64_t& left) {
  while (left > 0) {
    const ssize_t moved =
        copy_file_range(Descriptor(handle_), nullptr, Descriptor(target.handle_), nullptr,
                        static_cast<size_t>(std::min<uint64_t>(left, kChunk)), 0);
    if (moved < 0 && errno == EINTR)
      continue;
    if (moved < 0) {
      // Another file system, an old kernel, a file system or file kind that
      // cannot: the buffer takes over from where the kernel stopped.
      if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == ENOTSUP ||
          errno == EINVAL) {
        return;
      }
      const int error = errno;
      const bool targets = error == ENOSPC || error == EDQUOT || error == EFBIG;
      RaiseFileError(static_cast<SystemErrorCode>(error), targets ? target.name_ : name_);
    }
    if (moved == 0)
      Raise(err::kInputPastEnd);
    left -= static_cast<uint64_t>(moved);
  }
}

uint64_t File::Length() const {
  if (!IsOpen())
    Raise(err::kBadFileName);
  struct stat info {};
  if (fstat(Descriptor(handle_), &info) != 0)
    RaiseLastFileError(name_);
  return static_cast<uint64_t>(info.st_size);
}

uint64_t FileLength(const std::string& name) {
  struct stat info {};
  if (!Status(name, info))
    RaiseLastLengthError(name);
  if (S_ISDIR(info.st_mode))
    Raise(err::kFileNotFound);
  if (!S_ISREG(info.st_mode))
    Raise(err::kPathFileAccess);
  return static_cast<uint64_t>(info.st_size);
}

bool FileExists(const std::string& name) {
  struct stat info {};
  return Status(name, info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& name) {
  struct stat info {};
  return Status(name, info) && S_ISDIR(info.st_mode);
}

bool IsSymbolicLink(const std::string& name) {
  struct stat info {};
  return lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

void RemoveFile(const std::string& name) {
  if (unlink(name.c_str()) != 0)
    RaiseLastFileError(name);
}

void ReplaceFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0)
    return;
  if (errno != EXDEV)
    RaiseLastFileError(from);
  CopyThenRemove(from, to);
}

bool MoveToFreeName(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno == EEXIST)
    return false;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
    RaiseLastFileError(from);
  // A file system that cannot rename without replacing: a second link to the
  // file, which fails when the name is taken, then the first one goes.
  if (link(from.c_str(), to.c_str()) != 0) {
    if (errno == EEXIST)
      return false;
    RaiseLastFileError(from);
  }
  RemoveFile(from);
  return true;
}

}  // namespace vtq
