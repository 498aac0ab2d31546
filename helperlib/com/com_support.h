#pragma once
// What every class of the library shares: errors with source and
// description for automation clients, and the reading of optional VARIANT
// arguments. The module's state is comkit's.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

namespace orrin::com {

// Sets the thread's error info (source "OrrinModules32:" + member) and
// returns hr, so that a method can `return Fail(...)`.
HRESULT Fail(HRESULT hr, std::wstring_view member, std::wstring_view description);
// The same with a source of the caller's choosing.
HRESULT FailWithSource(HRESULT hr, std::wstring_view source, std::wstring_view description);
// Members that the library declares but does not provide yet.
HRESULT NotImplemented(std::wstring_view member);

// A BSTR's text (a null BSTR is the empty text).
std::wstring Text(BSTR text);
// A new BSTR into *out; E_OUTOFMEMORY when that fails.
HRESULT ToBstr(std::wstring_view text, BSTR* out);

// True for an optional argument the caller left out (or passed Empty).
bool IsMissing(const VARIANT& arg);
// An optional argument as text, boolean or number; nullopt when missing.
// A present argument that does not convert gives DISP_E_TYPEMISMATCH.
HRESULT OptionalText(const VARIANT& arg, std::optional<std::wstring>& out);
HRESULT OptionalBool(const VARIANT& arg, std::optional<bool>& out);
HRESULT OptionalLong(const VARIANT& arg, std::optional<long>& out);

inline VARIANT_BOOL Bool(bool value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace orrin::com
