#pragma once
// Under Wine, runs a shell script on the Unix side of the machine and waits
// for it: the way a test re-points drive letters and mounts small disks.
// Windows builds only.
#ifdef _WIN32

#include <string>

namespace vtq::test {

struct UnixResult {
  int status = -1;     // the script's exit status
  std::string output;  // its standard output and error
};

// The Unix path of the Wine prefix the test runs in (from WINEPREFIX, which
// scripts/wine-run sets); throws std::runtime_error when there is none.
std::string WinePrefixUnixPath();

// The Windows name (Z:\...) of a Unix path.
std::string WindowsNameOfUnixPath(const std::string& unixPath);

// A Unix path quoted for the shell.
std::string ShellQuote(const std::string& text);

// Runs `script` with /bin/sh and returns its status and output. Throws
// std::runtime_error when it cannot be started or does not end in time.
UnixResult RunUnixShell(const std::string& script);

// As RunUnixShell, throwing with the output when the status is not 0.
void RunUnixShellOrThrow(const std::string& script);

}  // namespace vtq::test

#endif
