#pragma once
// The exception in flight at a boundary (a window procedure, a COM member,
// a program's main) as the one error type the error dialog and the error
// info know: an engine error as it is, running out of memory as error 7,
// anything else as an internal error. Call only inside a catch handler.

#include <cstdint>

#include "engine/error.h"

namespace vtq {

// The classic number of a fault of our own rather than of the user's input.
inline constexpr int32_t kInternalErrorNumber = 51;
inline constexpr const char* kInternalErrorText = "Internal error";

VbError CurrentFailure() noexcept;

}  // namespace vtq
