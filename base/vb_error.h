#pragma once
// The one error type below every component. It carries the classic run-time
// error number, because the traps and the error dialog branch on it, plus
// source and description as a caller (or a COM client) sees them.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace vtq {

namespace err {
inline constexpr int32_t kInvalidArgument = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kBadFileName = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kFileAlreadyOpen = 55;
inline constexpr int32_t kDeviceIo = 57;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kInputPastEnd = 62;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kDiskNotReady = 71;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kAutomation = 440;
inline constexpr int32_t kDllEntryPointNotFound = 453;
// Errors of objects and components are this base plus a code.
inline constexpr int32_t kObjectErrorBase = static_cast<int32_t>(0x80040000u);
}  // namespace err

// The description a classic run-time library gives for a number
// ("File not found" for 53); "Application-defined or object-defined error"
// for numbers it does not know.
std::string DefaultDescription(int32_t number);

// The source given to errors that no object names.
inline constexpr const char* kDefaultErrorSource = "Vantrelloquin";
class VbError : public std::runtime_error {
 public:
  // An empty source or description takes the defaults above.
  explicit VbError(int32_t number, std::string source = {}, std::string description = {});

  int32_t Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }
  // The file the failing operation was about; empty when it was about none
  // or did not say. Not part of the description: the messages keep their
  // classic words, and a front end that can name the file adds it.
  const std::string& FileName() const noexcept { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string fileName_;
};

[[noreturn]] void Raise(int32_t number, std::string source = {}, std::string description = {});
// A classic error met by an operation on the file `name`.
[[noreturn]] void RaiseAbout(const std::string& name, int32_t number);

}  // namespace vtq
