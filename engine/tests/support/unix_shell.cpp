#ifdef _WIN32
#include "engine/tests/support/unix_shell.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vtq::test {
namespace {

constexpr DWORD kTimeoutMs = 30000;

std::string ReadWhole(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string WinePrefixUnixPath() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr || prefix[0] != '/') {
    throw std::runtime_error("WINEPREFIX is not set: run the test through scripts/wine-run");
  }
  std::string path = prefix;
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string WindowsNameOfUnixPath(const std::string& unixPath) {
  std::string name = "Z:" + unixPath;
  for (char& c : name) {
    if (c == '/')
      c = '\\';
  }
  return name;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Wine starts a Unix program that CreateProcess is given, but hands back no
// handle to wait on and none of our standard handles. So the script reports
// through files: it writes its output to NAME.log and, last, renames its
// status file into place; the Windows side waits for that name to appear.
UnixResult RunUnixShell(const std::string& script) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = WinePrefixUnixPath() + "/simdisks/ctl";
  const std::string base =
      folder + "/" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
  const std::string windowsFolder = WindowsNameOfUnixPath(folder);
  CreateDirectoryA(WindowsNameOfUnixPath(WinePrefixUnixPath() + "/simdisks").c_str(), nullptr);
  CreateDirectoryA(windowsFolder.c_str(), nullptr);

  const std::string scriptFile = WindowsNameOfUnixPath(base + ".sh");
  const std::string statusFile = WindowsNameOfUnixPath(base + ".rc");
  const std::string logFile = WindowsNameOfUnixPath(base + ".log");
  {
    std::ofstream out(scriptFile, std::ios::binary | std::ios::trunc);
    out << "( " << script << "\n) >" << ShellQuote(base + ".log") << " 2>&1 </dev/null\n"
        << "echo $? >" << ShellQuote(base + ".rc.tmp") << "\n"
        << "mv -f " << ShellQuote(base + ".rc.tmp") << " " << ShellQuote(base + ".rc") << "\n";
    if (!out)
      throw std::runtime_error("cannot write " + scriptFile);
  }

  std::string commandLine = "/bin/sh \"" + base + ".sh\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    throw std::runtime_error("cannot start /bin/sh from Wine: error " +
                             std::to_string(GetLastError()));
  }
  if (process.hProcess != nullptr)
    CloseHandle(process.hProcess);
  if (process.hThread != nullptr)
    CloseHandle(process.hThread);

  const DWORD start = GetTickCount();
  while (!Exists(statusFile)) {
    if (GetTickCount() - start > kTimeoutMs) {
      throw std::runtime_error("the Unix script did not finish: " + script);
    }
    Sleep(1);
  }
  UnixResult result;
  result.status = std::atoi(ReadWhole(statusFile).c_str());
  result.output = ReadWhole(logFile);
  DeleteFileA(scriptFile.c_str());
  DeleteFileA(statusFile.c_str());
  DeleteFileA(logFile.c_str());
  return result;
}

void RunUnixShellOrThrow(const std::string& script) {
  const UnixResult result = RunUnixShell(script);
  if (result.status != 0) {
    throw std::runtime_error("Unix script failed (status " + std::to_string(result.status) +
                             "): " + script + "\n" + result.output);
  }
}

}  // namespace vtq::test
#endif
