#pragma once
// What every class of the library shares at its COM edge: texts between
// BSTRs and the engine's ANSI code page, the "position or key" arguments,
// and engine errors turned into failed calls with error info.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

#include "comkit/com_barrier.h"
#include "engine/error.h"
#include "engine/item_index.h"

namespace vtq::control {

// The source of errors that name no object of their own: the library, as
// the classic runtime names a component's project.
inline constexpr wchar_t kLibrarySource[] = L"ActiveVantrelloquin";

// A BSTR as engine text (a null BSTR is the empty text).
std::string EngineText(BSTR text);
// Engine text as a new BSTR into *out; E_OUTOFMEMORY when that fails.
HRESULT ToBstr(std::string_view text, BSTR* out);

// A "position or key" argument: a text is a key, anything that converts to
// a number a position. nullopt for anything else (an object, an array).
std::optional<ItemIndex> IndexOf(const VARIANT& arg);

inline VARIANT_BOOL Bool(bool value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

// An engine error as the caller receives it: the classic number as the
// code, the error's source and description as the error info.
HRESULT Fail(const VbError& error);

// Runs an engine call for a COM member: its errors become failed calls
// with error info, anything else as comkit's barrier answers it.
template <class Call>
HRESULT Guarded(Call&& call) {
  try {
    call();
    return S_OK;
  } catch (const VbError& error) {
    return Fail(error);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
}

// The ITypeInfo of a class of the library, for IProvideClassInfo.
HRESULT ClassTypeInfo(REFCLSID clsid, ITypeInfo** out);

}  // namespace vtq::control
