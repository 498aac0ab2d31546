#include "engine/platform/shared_library.h"

#include <windows.h>

namespace vtq {

// LoadLibraryA searches the program's own folder first.
SharedLibrary SharedLibrary::Open(const std::string& name) {
  return SharedLibrary(static_cast<void*>(LoadLibraryA(name.c_str())));
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
