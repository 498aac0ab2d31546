#include "cli/terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vtq::cli {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  // _isatty also says yes for NUL and other character devices; only a
  // console has a console mode.
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

}  // namespace vtq::cli
