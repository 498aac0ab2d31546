#include "engine/platform/shared_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>

#include "base/path_parts.h"

namespace vtq {
namespace {

// The folder of the running executable, with its trailing "/"; empty when
// the system does not say.
std::string ExecutableFolder() {
  std::array<char, 4096> path{};
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0)
    return {};
  return base::FolderPart(std::string_view(path.data(), static_cast<size_t>(n)),
                          base::PathStyle::kPosix);
}

}  // namespace

// RTLD_NODELETE: closing the handle leaves the code mapped. Libraries such as
// libgcrypt keep process-wide state that must not be unmapped under the
// objects still pointing into it; the library's own clean-up runs at exit.
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;

SharedLibrary SharedLibrary::Open(const std::string& name) {
  void* handle = nullptr;
  if (name.find('/') == std::string::npos) {
    const std::string folder = ExecutableFolder();
    if (!folder.empty())
      handle = dlopen((folder + name).c_str(), kOpenFlags);
  }
  if (handle == nullptr)
    handle = dlopen(name.c_str(), kOpenFlags);
  return SharedLibrary(handle);
}

std::string SharedLibrary::FileName(std::string_view stem) {
  return "lib" + std::string(stem) + ".so";
}

void SharedLibrary::Close() noexcept {
  if (handle_ != nullptr)
    dlclose(handle_);
  handle_ = nullptr;
}

SharedLibrary::Procedure SharedLibrary::Find(const char* routine) const {
  if (handle_ == nullptr)
    return nullptr;
  return reinterpret_cast<Procedure>(dlsym(handle_, routine));
}

}  // namespace vtq
