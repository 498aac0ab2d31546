#include "base/vb_error.h"

#include <utility>

namespace vtq {

std::string DefaultDescription(int32_t number) {
  switch (number) {
    case err::kInvalidArgument:
      return "Invalid procedure call or argument";
    case err::kOverflow:
      return "Overflow";
    case err::kOutOfMemory:
      return "Out of memory";
    case err::kSubscriptOutOfRange:
      return "Subscript out of range";
    case err::kBadFileName:
      return "Bad file name or number";
    case err::kFileNotFound:
      return "File not found";
    case err::kFileAlreadyOpen:
      return "File already open";
    case err::kDeviceIo:
      return "Device I/O error";
    case err::kFileAlreadyExists:
      return "File already exists";
    case err::kDiskFull:
      return "Disk full";
    case err::kInputPastEnd:
      return "Input past end of file";
    case err::kPermissionDenied:
      return "Permission denied";
    case err::kDiskNotReady:
      return "Disk not ready";
    case err::kPathFileAccess:
      return "Path/File access error";
    case err::kPathNotFound:
      return "Path not found";
    case err::kAutomation:
      return "Automation error";
    case err::kDllEntryPointNotFound:
      return "Can't find DLL entry point";
    default:
      return "Application-defined or object-defined error";
  }
}

VbError::VbError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? DefaultDescription(number) : description),
      number_(number),
      source_(source.empty() ? std::string(kDefaultErrorSource) : std::move(source)),
      description_(description.empty() ? DefaultDescription(number) : std::move(description)) {}

void Raise(int32_t number, std::string source, std::string description) {
  throw VbError(number, std::move(source), std::move(description));
}

void RaiseAbout(const std::string& name, int32_t number) {
  VbError error(number);
  error.SetFileName(name);
  throw error;
}

}  // namespace vtq
