#pragma once
// One owner for every kind of system handle. A traits struct per kind says
// what the handle type is, which value means "none" (a failed CreateFile
// gives INVALID_HANDLE_VALUE, most other calls give NULL) and how the handle
// is given back. The owner cannot be copied, can be moved, and closes what
// it holds exactly once unless Take() hands it on first.
//
//   struct Traits {
//     using Handle = ...;
//     static Handle Invalid() noexcept;
//     static void Close(Handle handle) noexcept;
//   };

#include <utility>

namespace vtq::base {

template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() noexcept : handle_(Traits::Invalid()) {}
  explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
  ~ScopedHandle() { Reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Take()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other)
      Reset(other.Take());
    return *this;
  }

  Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Gives ownership to the caller; this owner holds nothing afterwards.
  [[nodiscard]] Handle Take() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Closes what is held and holds `handle` instead.
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid())
      Traits::Close(old);
  }

  // For calls that hand a new handle back through a pointer: whatever was
  // held is closed first, so that nothing leaks when the call overwrites it.
  Handle* Receive() noexcept {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_;
};

}  // namespace vtq::base
