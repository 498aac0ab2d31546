#pragma once
// A library loaded by name while the program runs, and its routines looked
// up by name. Unloaded when the object goes.

#include <string>
#include <string_view>

namespace vtq {

class SharedLibrary {
 public:
  // Any routine; callers convert it to the routine's real type.
  using Procedure = void (*)();

  SharedLibrary() = default;  // nothing loaded
  SharedLibrary(SharedLibrary&& other) noexcept : handle_(other.handle_) {
    other.handle_ = nullptr;
  }
  SharedLibrary& operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary() { Close(); }

  // Loads a bare `name` from the running program's own folder. On Windows
  // nowhere else (the current folder is no place to load code from); natively
  // the system's library path is searched after the program's folder. A name
  // with a folder is loaded as given. Not loaded when it is not found.
  static SharedLibrary Open(const std::string& name);

  // The file name the system gives the library called `stem`: "stem.dll" on
  // Windows, "libstem.so" natively.
  static std::string FileName(std::string_view stem);

  bool IsLoaded() const { return handle_ != nullptr; }
  // nullptr when the library has no such routine (or nothing is loaded).
  Procedure Find(const char* routine) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void Close() noexcept;
  void* handle_ = nullptr;
};

}  // namespace vtq
