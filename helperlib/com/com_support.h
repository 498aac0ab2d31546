#pragma once
// What every class of the library shares: errors with source and
// description for automation clients, and the reading of optional VARIANT
// arguments. The module's state is comkit's.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/win/automation_values.h"

namespace orrin::com {

// Sets the thread's error info (source "OrrinModules32:" + member) and
// returns hr, so that a method can `return Fail(...)`.
HRESULT Fail(HRESULT hr, std::wstring_view member, std::wstring_view description);
// The same with a source of the caller's choosing.
HRESULT FailWithSource(HRESULT hr, std::wstring_view source, std::wstring_view description);
// The barrier of every member: the exception in flight as a failed call
// with error info under "OrrinModules32:" + member. Only in a catch handler.
HRESULT FailUnexpected(const wchar_t* member) noexcept;
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

// A classic run-time error number (5, 53, 1001 ...) as the HRESULT that a
// script reads back as that number, with source and description.
HRESULT FailNumber(int number, std::wstring_view source, std::wstring_view description);
// Error 5, "Invalid procedure call or argument", of a member.
HRESULT InvalidArgument(std::wstring_view member);

// The window of a form argument: any object with an hWnd property naming a
// window. E_INVALIDARG when there is none.
HRESULT WindowOf(IDispatch* form, HWND& window);
// The text of the library's error for a form argument without a window.
inline constexpr wchar_t kNotAForm[] = L"A passed parameter is not a form/MDIForm";

// Late-bound property access on a caller's object.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, vtq::base::win::Variant& value);
HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value);

// Writes a result into a by-reference output argument, whatever the
// caller's variable is: a variant (typed or by reference) or a typed
// reference, converted to the variable's type where it has one.
HRESULT SetOutput(VARIANT* out, const VARIANT& value);
HRESULT SetOutputLong(VARIANT* out, long value);
HRESULT SetOutputText(VARIANT* out, std::wstring_view value);

// The library's version as major "." minor.
std::wstring LibraryVersion();

inline VARIANT_BOOL Bool(bool value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace orrin::com
