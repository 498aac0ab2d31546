#pragma once
// Binary file access for the engine, one handle per object, closed on every
// way out. Failures raise VbError with the classic numbers (53 file not found,
// 76 path not found, 70 permission denied, 61 disk full, ...), mapped from the
// system's codes in one place (platform/*/system_error_*.cpp).

#include <cstddef>
#include <cstdint>
#include <string>

// windows.h names ReplaceFileA/W through this macro, which would rename ours.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace vtq {

class File {
 public:
  enum class Mode {
    kRead,     // existing file, read only; others may read and write it too
    kReplace,  // created or truncated, write only
  };

  File() = default;
  File(const std::string& name, Mode mode);
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const;
  const std::string& Name() const { return name_; }
  void Close();

  // Reads up to `size` bytes at the current position; returns how many were
  // read (fewer only at the end of the file).
  size_t Read(void* data, size_t size);
  // Reads exactly `size` bytes or raises error 62 (input past end of file).
  void ReadExactly(void* data, size_t size);
  // Writes all `size` bytes or raises (61 when the disk is full).
  void Write(const void* data, size_t size);
  void Seek(uint64_t offset);
  uint64_t Length() const;

 private:
  std::string name_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// The length of a file from the file system (53 when it does not exist).
uint64_t FileLength(const std::string& name);
bool FileExists(const std::string& name);
// Raises on failure; a missing file is an error too.
void RemoveFile(const std::string& name);
// Moves `from` over `to`, replacing `to` if it exists.
void ReplaceFile(const std::string& from, const std::string& to);

}  // namespace vtq
