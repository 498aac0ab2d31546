#pragma once
// The seam between the portable engine and the system it runs on: message
// boxes, the message loop, drive queries and folder enumeration. Each has a
// Win32 and a POSIX implementation (engine/platform/...) and test doubles
// (engine/tests/platform_doubles.h). Message-box styles and answers use the
// Win32 MB_ and ID values on every platform.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/code_page.h"

// <windows.h> defines Yield() away as an empty macro (a 16-bit leftover);
// include it before this header, never after, in a file that yields.
#ifdef Yield
#undef Yield
#endif

namespace vtq {

namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kAbortRetryIgnore = 0x2;
inline constexpr unsigned kYesNoCancel = 0x3;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kRetryCancel = 0x5;
inline constexpr unsigned kButtonsMask = 0xF;
inline constexpr unsigned kIconCritical = 0x10;  // MB_ICONHAND / MB_ICONSTOP
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;  // MB_ICONASTERISK
inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kDefaultButton2 = 0x100;
inline constexpr unsigned kDefaultButton3 = 0x200;
inline constexpr unsigned kDefaultButtonMask = 0xF00;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// Modal message boxes. An empty title stands for the application's default
// title (the box's owner decides what that is).
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Returns the answer as an mb::kId... value.
  virtual int Show(std::string_view text, std::string_view title, unsigned style) = 0;
};

// Lets pending window messages be processed during a long run.
class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  virtual void Yield() = 0;
};

// GetDriveTypeA's values.
enum class DriveType : unsigned {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// GetDiskFreeSpaceA's four figures.
struct ClusterFigures {
  uint32_t sectorsPerCluster = 0;
  uint32_t bytesPerSector = 0;
  uint32_t freeClusters = 0;
  uint32_t totalClusters = 0;
};

class Drives {
 public:
  virtual ~Drives() = default;
  virtual DriveType TypeOf(const std::string& root) = 0;
  // False on systems without the extended free-space query.
  virtual bool HasExtendedFreeSpace() = 0;
  // Free bytes available to the caller (the extended query); nullopt on error.
  virtual std::optional<uint64_t> FreeBytesAvailable(const std::string& root) = 0;
  // The cluster figures of the older query; nullopt on error.
  virtual std::optional<ClusterFigures> Clusters(const std::string& root) = 0;
};

// One entry of a find-first/find-next enumeration: the name in a
// fixed-length field, NUL-padded, and the attribute bits.
struct FindEntry {
  // MAX_PATH UTF-16 units at three UTF-8 bytes each at most.
  static constexpr size_t kNameField = 3 * 260;
  static constexpr uint32_t kDirectory = 0x10;
  // A link (junction, symbolic link) rather than the thing itself.
  static constexpr uint32_t kReparsePoint = 0x400;
  std::array<char, kNameField> name{};
  uint32_t attributes = 0;
};

class FolderEnumerator {
 public:
  virtual ~FolderEnumerator() = default;
  // Enumerates the entries matching `pattern` (a folder + "*") in the order
  // the file system returns them, calling `visit` for each while the
  // enumeration stays open. False when the folder cannot be enumerated.
  virtual bool Enumerate(const std::string& pattern,
                         const std::function<void(const FindEntry&)>& visit) = 0;
};

class ErrorAdvisor;  // engine/program/error_trap.h

// The program's stored options, as far as the engine reads them (the batch
// generator's settings). nullopt when a value is not stored.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual std::optional<std::string> ReadProgramSetting(std::string_view valueName) = 0;
};

// What the engine reaches the system through. The host (program, control,
// console front end, a test) composes it and keeps it alive for as long as
// the engine objects that use it.
struct Platform {
  MessageBoxes& boxes;
  MessageLoop& loop;
  Drives& drives;
  FolderEnumerator& folders;
  // Asked by the split run's error trap; the control's build has no trap.
  ErrorAdvisor* errorAdvisor = nullptr;
  // Where the batch generator reads its settings; absent means defaults.
  SettingsSource* settings = nullptr;
  // The code page of the names stored in fragment headers
  // (engine/stored_name.h): the system's, or a test's.
  const base::CodePage* codePage = &base::AnsiCodePage();
  // The code page cmd reads batch files in.
  const base::CodePage* batchCodePage = &base::ConsoleCodePage();
};

// The system's own drive queries and folder enumeration (stateless).
Drives& SystemDrives();
FolderEnumerator& SystemFolders();
// True on the NT family of Windows; false elsewhere.
bool IsNtFamily();

}  // namespace vtq
