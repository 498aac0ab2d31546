#include "engine/tests/support/links.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "engine/tests/support/unix_shell.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vtq::test {

#ifdef _WIN32
namespace {

// Wine's own export that maps a Windows name to the Unix path behind it.
std::string UnixNameOf(const std::string& windowsName) {
  using Mapper = char*(__cdecl*)(const wchar_t*);
  const auto mapper = reinterpret_cast<Mapper>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (mapper == nullptr)
    throw std::runtime_error("not running under Wine");
  const std::wstring wide(windowsName.begin(), windowsName.end());  // test names are ASCII
  char* mapped = mapper(wide.c_str());
  if (mapped == nullptr)
    throw std::runtime_error("no Unix name for " + windowsName);
  std::string unixName = mapped;
  HeapFree(GetProcessHeap(), 0, mapped);
  return unixName;
}

}  // namespace

void PlantLink(const std::string& link, const std::string& target) {
  RunUnixShellOrThrow("ln -s " + ShellQuote(UnixNameOf(target)) + " " +
                      ShellQuote(UnixNameOf(link)));
}

bool IsLink(const std::string& name) {
  return RunUnixShell("test -L " + ShellQuote(UnixNameOf(name))).status == 0;
}

#else

void PlantLink(const std::string& link, const std::string& target) {
  if (symlink(target.c_str(), link.c_str()) != 0)
    throw std::runtime_error("cannot plant a link at " + link);
}

bool IsLink(const std::string& name) {
  struct stat info {};
  return lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

#endif

}  // namespace vtq::test
