#pragma once
// Whether a stream is shown to a person: a terminal natively, the console on
// Windows. Progress is drawn in place only there.

#include <cstdio>

namespace vtq::cli {

bool IsTerminal(std::FILE* stream);

// The width of the terminal or console `stream` shows on, in characters; 0
// when it cannot be told.
int TerminalColumns(std::FILE* stream);

}  // namespace vtq::cli
