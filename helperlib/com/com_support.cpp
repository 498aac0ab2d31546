#include "helperlib/com/com_support.h"

#include <atomic>

namespace orrin::com {
namespace {

// The two pieces of module state COM itself requires of an in-process server.
HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};

HRESULT Converted(const VARIANT& arg, VARTYPE type, VARIANT& out) {
  VariantInit(&out);
  const HRESULT hr = VariantChangeType(&out, const_cast<VARIANT*>(&arg), 0, type);
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

}  // namespace

HINSTANCE ModuleInstance() {
  return g_instance;
}
void SetModuleInstance(HINSTANCE instance) {
  g_instance = instance;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ObjectCreated() {
  ++g_objects;
}
void ObjectDestroyed() {
  --g_objects;
}
bool CanUnload() {
  return g_objects == 0;
}

HRESULT Fail(HRESULT hr, std::wstring_view member, std::wstring_view description) {
  return FailWithSource(hr, L"OrrinModules32:" + std::wstring(member), description);
}

HRESULT FailWithSource(HRESULT hr, std::wstring_view errorSource, std::wstring_view description) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    const std::wstring source(errorSource);
    const std::wstring text(description);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    create->SetHelpFile(const_cast<LPOLESTR>(L"orrinmdl.hlp"));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hr;
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
