#pragma once
// The one translation of the system's error codes (GetLastError on Windows,
// errno elsewhere) into the classic run-time numbers the engine raises.
// Errors keep the classic description and the default source; callers that
// know more (an object name) raise their own.

#include <cstdint>
#include <string>

#include "engine/error.h"

namespace vtq {

using SystemErrorCode = unsigned long;

// The calling thread's last system error code.
SystemErrorCode LastSystemError();

// The classic number for `code`, met by a file operation on `name` (the
// name tells a missing file from a missing folder where the code does not).
int32_t ClassicFileError(SystemErrorCode code, const std::string& name);

[[noreturn]] inline void RaiseFileError(SystemErrorCode code, const std::string& name) {
  RaiseAbout(name, ClassicFileError(code, name));
}

[[noreturn]] inline void RaiseLastFileError(const std::string& name) {
  RaiseFileError(LastSystemError(), name);
}

// The length query of a name knows one way of finding nothing: a file in a
// folder that has gone is as much "file not found" as the file itself.
[[noreturn]] inline void RaiseLastLengthError(const std::string& name) {
  const int32_t number = ClassicFileError(LastSystemError(), name);
  RaiseAbout(name, number == err::kPathNotFound ? err::kFileNotFound : number);
}

}  // namespace vtq
