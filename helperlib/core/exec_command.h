#pragma once
// ExecCmd: a command line run as a process, waited for to its end.

#include <windows.h>

#include <string>

namespace orrin {

// 0 when the process ran (whatever its exit code), otherwise the system's
// error code for why it could not be started.
DWORD RunAndWait(const std::wstring& commandLine);

}  // namespace orrin
