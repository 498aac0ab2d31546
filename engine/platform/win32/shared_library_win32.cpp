#include <windows.h>

#include <string>
#include <utility>

#include "base/path_parts.h"
#include "base/win/dyn_calls.h"
#include "base/win/handles.h"
#include "base/win/module_path.h"
#include "base/win/wide_path.h"
#include "engine/platform/shared_library.h"

namespace vtq {
namespace {

// The folder of the running program, with its trailing "\"; empty when the
// system does not say.
std::string ProgramFolder() {
  return base::FolderPart(base::win::ModulePathUtf8(nullptr));
}

}  // namespace

// A bare name is loaded from the program's own folder by its full path and
// nowhere else: LoadLibraryExW would also search the current folder and the
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
  return SharedLibrary(static_cast<void*>(
      LoadLibraryExW(base::win::WidePath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)));
}

std::string SharedLibrary::FileName(std::string_view stem) {
  return std::string(stem) + ".dll";
}

void SharedLibrary::Close() noexcept {
  const base::win::LoadedModule unloading(static_cast<HMODULE>(std::exchange(handle_, nullptr)));
}

SharedLibrary::Procedure SharedLibrary::Find(const char* routine) const {
  if (handle_ == nullptr)
    return nullptr;
  return base::win::ProcAddress<Procedure>(static_cast<HMODULE>(handle_), routine);
}

}  // namespace vtq
