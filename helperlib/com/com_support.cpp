#include "helperlib/com/com_support.h"

#include <cwchar>
#include <iterator>

#include "base/win/automation_values.h"
#include "comkit/com_barrier.h"
#include "comkit/error_info.h"
#include "helperlib/com/version.h"

namespace orrin::com {
namespace {

using vtq::base::win::Variant;

HRESULT Converted(const VARIANT& arg, VARTYPE type, Variant& out) {
  const HRESULT hr = VariantChangeType(out.Receive(), const_cast<VARIANT*>(&arg), 0, type);
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT MemberId(IDispatch* object, const wchar_t* name, DISPID& id) {
  if (!object)
    return E_POINTER;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

}  // namespace

HRESULT Fail(HRESULT hr, std::wstring_view member, std::wstring_view description) {
  return FailWithSource(hr, L"OrrinModules32:" + std::wstring(member), description);
}

HRESULT FailWithSource(HRESULT hr, std::wstring_view errorSource, std::wstring_view description) {
  return vtq::comkit::Fail(hr, errorSource, description, L"orrinmdl.hlp");
}

HRESULT FailUnexpected(const wchar_t* member) noexcept {
  // The source is put together without the heap, which may be what ran out.
  wchar_t source[64] = L"OrrinModules32:";
  wcsncat(source, member, std::size(source) - wcslen(source) - 1);
  return vtq::comkit::FailCurrentException(source);
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
  Variant value;
  if (const HRESULT hr = Converted(arg, VT_BSTR, value); FAILED(hr))
    return hr;
  out = Text(V_BSTR(value.Get()));
  return S_OK;
}

HRESULT OptionalBool(const VARIANT& arg, std::optional<bool>& out) {
  out.reset();
  if (IsMissing(arg))
    return S_OK;
  Variant value;
  if (const HRESULT hr = Converted(arg, VT_BOOL, value); FAILED(hr))
    return hr;
  out = V_BOOL(value.Get()) != VARIANT_FALSE;
  return S_OK;
}

HRESULT OptionalLong(const VARIANT& arg, std::optional<long>& out) {
  out.reset();
  if (IsMissing(arg))
    return S_OK;
  Variant value;
  if (const HRESULT hr = Converted(arg, VT_I4, value); FAILED(hr))
    return hr;
  out = V_I4(value.Get());
  return S_OK;
}

HRESULT FailNumber(int number, std::wstring_view errorSource, std::wstring_view description) {
  return FailWithSource(vtq::comkit::HresultOfErrorNumber(number), errorSource, description);
}

HRESULT InvalidArgument(std::wstring_view member) {
  return FailNumber(5, L"OrrinModules32:" + std::wstring(member),
                    L"Invalid procedure call or argument");
}

HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& value) {
  value = Variant();
  DISPID id = 0;
  if (const HRESULT hr = MemberId(object, name, id); FAILED(hr))
    return hr;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Get(),
                        nullptr, nullptr);
}

HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) {
  DISPID id = 0;
  if (const HRESULT hr = MemberId(object, name, id); FAILED(hr))
    return hr;
  VARIANT arg = value;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&arg, &put, 1, 1};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                        nullptr, nullptr);
}

HRESULT WindowOf(IDispatch* form, HWND& window) {
  window = nullptr;
  Variant value;
  if (FAILED(GetProperty(form, L"hWnd", value)))
    return E_INVALIDARG;
  Variant number;
  if (FAILED(VariantChangeType(number.Get(), value.Get(), 0, VT_I8)))
    return E_INVALIDARG;
  window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(V_I8(number.Get())));
  return IsWindow(window) ? S_OK : E_INVALIDARG;
}

HRESULT SetOutput(VARIANT* out, const VARIANT& value) {
  if (!out)
    return E_POINTER;
  VARIANT* target = out;
  while (V_VT(target) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(target))
    target = V_VARIANTREF(target);
  if (!(V_VT(target) & VT_BYREF)) {
    VariantClear(target);
    return VariantCopy(target, const_cast<VARIANT*>(&value));
  }
  // A typed reference: convert to its type and store through it.
  const VARTYPE type = V_VT(target) & ~VT_BYREF;
  Variant held;
  if (FAILED(VariantChangeType(held.Get(), const_cast<VARIANT*>(&value), 0, type)))
    return DISP_E_TYPEMISMATCH;
  const VARIANT& converted = *held;
  switch (type) {
    case VT_I2:
      *V_I2REF(target) = V_I2(&converted);
      break;
    case VT_I4:
      *V_I4REF(target) = V_I4(&converted);
      break;
    case VT_R4:
      *V_R4REF(target) = V_R4(&converted);
      break;
    case VT_R8:
      *V_R8REF(target) = V_R8(&converted);
      break;
    case VT_CY:
      *V_CYREF(target) = V_CY(&converted);
      break;
    case VT_DATE:
      *V_DATEREF(target) = V_DATE(&converted);
      break;
    case VT_BOOL:
      *V_BOOLREF(target) = V_BOOL(&converted);
      break;
    case VT_UI1:
      *V_UI1REF(target) = V_UI1(&converted);
      break;
    case VT_BSTR:
      // The caller's variable lets its old text go and takes the new one.
      SysFreeString(*V_BSTRREF(target));
      *V_BSTRREF(target) = V_BSTR(&converted);
      (void)held.Take();
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT SetOutputLong(VARIANT* out, long value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return SetOutput(out, v);
}

HRESULT SetOutputText(VARIANT* out, std::wstring_view value) {
  Variant v;
  V_VT(v.Get()) = VT_BSTR;
  V_BSTR(v.Get()) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (!V_BSTR(v.Get()))
    return E_OUTOFMEMORY;
  return SetOutput(out, *v);
}

std::wstring LibraryVersion() {
  return std::to_wstring(ORRIN_VERSION_MAJOR) + L"." + std::to_wstring(ORRIN_VERSION_MINOR);
}

}  // namespace orrin::com
