#pragma once
// The barrier of every COM member: no exception leaves through a vtable
// or Invoke. An engine error leaves as its classic number with its own
// source and description, running out of memory as E_OUTOFMEMORY, anything
// else as E_FAIL, both with error info under the member's source.
//
// A member's body becomes a function-try-block:
//   STDMETHODIMP Member(...) override try { ... } catch (...) {
//     return FailCurrentException(L"Class:Member");
//   }

#include <windows.h>

#include <string_view>

namespace vtq::comkit {

inline constexpr wchar_t kOutOfMemoryText[] = L"Out of memory";
inline constexpr wchar_t kInternalErrorText[] = L"Internal error";

// The HRESULT (and error info) of the exception in flight; call only inside
// a catch handler.
HRESULT FailCurrentException(std::wstring_view source) noexcept;

// Runs body (which returns an HRESULT) behind the barrier.
template <class Body>
HRESULT ComBarrier(std::wstring_view source, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return FailCurrentException(source);
  }
}

}  // namespace vtq::comkit
