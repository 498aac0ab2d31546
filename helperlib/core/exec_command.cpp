#include "helperlib/core/exec_command.h"

#include <vector>

#include "base/win/handles.h"

namespace orrin {

DWORD RunAndWait(const std::wstring& commandLine) {
  if (commandLine.empty())
    return ERROR_INVALID_PARAMETER;
  // CreateProcessW may write into the command line.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return GetLastError();
  }
  const vtq::base::win::KernelHandle thread(process.hThread);
  const vtq::base::win::KernelHandle running(process.hProcess);
  WaitForSingleObject(running.Get(), INFINITE);
  return 0;
}

}  // namespace orrin
