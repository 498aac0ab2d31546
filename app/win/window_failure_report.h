#pragma once
// What the program does with a failure that reached one of its window or
// dialog procedures: the error dialog, as for a command's own errors,
// whose "end" ends the program as Exit does; any other answer goes on with
// the next message.

#include <exception>
#include <functional>

#include "engine/program/error_trap.h"

namespace vtq::app {

void ShowWindowFailure(std::exception_ptr failure, ErrorAdvisor& errorDialog,
                       const std::function<void()>& endProgram);

}  // namespace vtq::app
