#include <windows.h>

#include <string>
#include <vector>

#include "engine/platform/shared_library.h"

namespace vtq {
namespace {

// The folder of the running program, with its trailing "\"; empty when the
// system does not say.
std::string ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      const std::string full(path.data(), length);
      const size_t cut = full.find_last_of("\\/");
      return cut == std::string::npos ? std::string() : full.substr(0, cut + 1);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

// A bare name is loaded from the program's own folder by its full path and
// nowhere else: LoadLibraryA would also search the current folder and the
// PATH, where anyone may plant a library of that name.
SharedLibrary SharedLibrary::Open(const std::string& name) {
  std::string path = name;
  if (name.find_first_of("\\/:") == std::string::npos) {
    const std::string folder = ProgramFolder();
    if (folder.empty())
      return SharedLibrary();
    path = folder + name;
  }
  // Its own dependencies are looked for beside it first, too.
  return SharedLibrary(
      static_cast<void*>(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)));
}

void SharedLibrary::Close() noexcept {
  if (handle_ != nullptr)
    FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

SharedLibrary::Procedure SharedLibrary::Find(const char* routine) const {
  if (handle_ == nullptr)
    return nullptr;
  return reinterpret_cast<Procedure>(GetProcAddress(static_cast<HMODULE>(handle_), routine));
}

}  // namespace vtq
