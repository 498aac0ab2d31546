#pragma once
// Binary file access for the engine, one handle per object, closed on every
// way out. Failures raise VbError with the classic numbers (53 file not found,
// 76 path not found, 70 permission denied, 61 disk full, ...), mapped from the
// system's codes in one place (platform/*/system_error_*.cpp). The system
// calls live in platform/*/file_io_*.cpp.

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
    kRead,       // existing file, read only; others may read and write it too
    kReplace,    // created or truncated, write only
    kCreateNew,  // created write only; refused (58) when the name is taken,
                 // even by a link that leads nowhere, so nothing is written through one
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

  // How CopyTo moves the bytes: inside the system's kernel where it offers
  // that (copy_file_range), through a buffer otherwise; kThroughBuffer
  // forces the buffer.
  enum class CopyPath { kFastest, kThroughBuffer };
  // Copies `length` bytes from this file's position to `target`'s, both
  // moving on. Raises 62 when this file ends first, and what Write raises.
  void CopyTo(File& target, uint64_t length, CopyPath path = CopyPath::kFastest);

 private:
  // The system's own reference to the open file, in a width that holds
  // either kind: a HANDLE on Windows, a descriptor natively. Neither system
  // hands out -1 for an open file.
  // Moves what the system copies without a buffer of ours, lowering
  // `left`; leaves the rest (all of it where there is no such call, or the
  // two files do not allow it) to the buffer.
  void CopyInKernel(File& target, uint64_t& left);

  using SystemHandle = std::intptr_t;
  static constexpr SystemHandle kClosed = -1;

  std::string name_;
  SystemHandle handle_ = kClosed;
};

// The length of a file from the file system (53 when it does not exist).
uint64_t FileLength(const std::string& name);
// Whether a name is taken by something other than a folder (the splitter's
// question before it replaces an old fragment).
bool FileExists(const std::string& name);
// Whether the file opens for reading: the assembler's one rule for a
// fragment being there.
bool CanOpenForReading(const std::string& name);
bool FolderExists(const std::string& name);
// Whether the name itself is a symbolic link (or, on Windows, another
// reparse point such as a junction), whether or not it leads anywhere.
bool IsSymbolicLink(const std::string& name);
// Raises on failure; a missing file is an error too.
void RemoveFile(const std::string& name);
// Moves `from` over `to`, replacing `to` if it exists. A link named `to` is
// itself replaced; what it leads to is left alone.
void ReplaceFile(const std::string& from, const std::string& to);
// Gives `from` the name `to` only when no entry has that name yet, checked
// and done in one step; false (and `from` untouched) when one has. Both
// names must be in the same folder.
bool MoveToFreeName(const std::string& from, const std::string& to);

}  // namespace vtq
