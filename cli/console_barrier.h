#pragma once
// The barrier of vtq's main: an exception no command caught ends the
// program with one line on the error stream and exit status 1, never with
// the runtime's abort.

#include <cstdio>
#include <functional>

namespace vtq::cli {

int ConsoleBarrier(const std::function<int()>& program, std::FILE* err = stderr) noexcept;

}  // namespace vtq::cli
