#include "helperlib/com/com_support.h"

#include "comkit/error_info.h"

namespace orrin::com {
namespace {

HRESULT Converted(const VARIANT& arg, VARTYPE type, VARIANT& out) {
  VariantInit(&out);
  const HRESULT hr = VariantChangeType(&out, const_cast<VARIANT*>(&arg), 0, type);
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

}  // namespace

HRESULT Fail(HRESULT hr, std::wstring_view member, std::wstring_view description) {
  return FailWithSource(hr, L"OrrinModules32:" + std::wstring(member), description);
}

HRESULT FailWithSource(HRESULT hr, std::wstring_view errorSource, std::wstring_view description) {
  return vtq::comkit::Fail(hr, errorSource, description, L"orrinmdl.hlp");
}

HRESULT NotImplemented(std::wstring_view member) {
  return Fail(E_NOTIMPL, member,
              std::wstring(member) + L" is not implemented in this version of OrrinModules32.");
}

std::wstring Text(BSTR text) {
  return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

HRESULT ToBstr(std::wstring_view text, BSTR* out) {
  if (!out)
    return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsMissing(const VARIANT& arg) {
  const VARIANT* value = &arg;
  if (V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value))
    value = V_VARIANTREF(value);
  return V_VT(value) == VT_EMPTY ||
         (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND);
}

HRESULT OptionalText(const VARIANT& arg, std::optional<std::wstring>& out) {
  out.reset();
  if (IsMissing(arg))
    return S_OK;
  VARIANT value;
  if (const HRESULT hr = Converted(arg, VT_BSTR, value); FAILED(hr))
    return hr;
  out = Text(V_BSTR(&value));
  VariantClear(&value);
  return S_OK;
}

HRESULT OptionalBool(const VARIANT& arg, std::optional<bool>& out) {
  out.reset();
  if (IsMissing(arg))
    return S_OK;
  VARIANT value;
  if (const HRESULT hr = Converted(arg, VT_BOOL, value); FAILED(hr))
    return hr;
  out = V_BOOL(&value) != VARIANT_FALSE;
  return S_OK;
}

HRESULT OptionalLong(const VARIANT& arg, std::optional<long>& out) {
  out.reset();
  if (IsMissing(arg))
    return S_OK;
  VARIANT value;
  if (const HRESULT hr = Converted(arg, VT_I4, value); FAILED(hr))
    return hr;
  out = V_I4(&value);
  return S_OK;
}

}  // namespace orrin::com
