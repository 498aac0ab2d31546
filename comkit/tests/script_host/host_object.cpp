#include "comkit/tests/script_host/host_object.h"

#include <string>

#include "comkit/tests/script_host/script_output.h"

namespace vtq::script_host {

using Microsoft::WRL::ComPtr;

namespace {

constexpr DISPID kEcho = 1;
constexpr DISPID kCreateObject = 2;
constexpr DISPID kQuit = 3;

// Argument `index` (first = 0) of a call, by value.
bool Argument(const DISPPARAMS& params, UINT index, VARTYPE type, VARIANT* out) {
  VariantInit(out);
  if (index >= params.cArgs)
    return false;
  const VARIANT& arg = params.rgvarg[params.cArgs - 1 - index];
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&arg))))
    return false;
  const HRESULT hr = VariantChangeType(out, &value, VARIANT_ALPHABOOL, type);
  VariantClear(&value);
  return SUCCEEDED(hr);
}

std::wstring TextArgument(const DISPPARAMS& params, UINT index) {
  VARIANT value;
  std::wstring text;
  if (Argument(params, index, VT_BSTR, &value) && V_BSTR(&value))
    text.assign(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
  VariantClear(&value);
  return text;
}

}  // namespace

HostObject::HostObject(const ServerClasses& servers, IActiveScript* script)
    : servers_(servers), script_(script) {}

STDMETHODIMP HostObject::QueryInterface(REFIID riid, void** out) {
  if (!out)
    return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostObject::GetTypeInfoCount(UINT* count) {
  if (!count)
    return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP HostObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0)
    return E_INVALIDARG;
  static constexpr struct {
    const wchar_t* name;
    DISPID id;
  } kMembers[] = {{L"Echo", kEcho}, {L"CreateObject", kCreateObject}, {L"Quit", kQuit}};
  ids[0] = DISPID_UNKNOWN;
  for (const auto& member : kMembers) {
    if (lstrcmpiW(names[0], member.name) == 0)
      ids[0] = member.id;
  }
  for (UINT i = 1; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;  // no named arguments
  return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP HostObject::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT*) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  const DISPPARAMS& args = params ? *params : none;
  if (quitCode_)
    return Quit(none, exception);
  switch (member) {
    case kEcho:
      return Echo(args);
    case kCreateObject:
      return CreateObject(args, result);
    case kQuit:
      return Quit(args, exception);
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT HostObject::Echo(const DISPPARAMS& params) {
  std::wstring line;
  for (UINT i = 0; i < params.cArgs; ++i) {
    if (i > 0)
      line += L' ';
    line += TextArgument(params, i);
  }
  WriteLine(line);
  return S_OK;
}

HRESULT HostObject::CreateObject(const DISPPARAMS& params, VARIANT* result) {
  if (params.cArgs < 1 || params.cArgs > 2)
    return DISP_E_BADPARAMCOUNT;
  const std::wstring progId = TextArgument(params, 0);
  const std::wstring prefix = params.cArgs > 1 ? TextArgument(params, 1) : std::wstring();
  ComPtr<IDispatch> object;
  HRESULT hr = servers_.Create(progId, &object);
  if (hr == REGDB_E_CLASSNOTREG) {
    CLSID clsid;
    hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (SUCCEEDED(hr)) {
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, &object);
    }
  }
  if (FAILED(hr))
    return hr;
  if (!prefix.empty()) {
    auto connection = EventConnection::Connect(object.Get(), prefix, script_.Get(), &hr);
    if (!connection)
      return hr;
    connections_.push_back(std::move(connection));
  }
  if (result) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object.Detach();
  }
  return S_OK;
}

HRESULT HostObject::Quit(const DISPPARAMS& params, EXCEPINFO* exception) {
  if (!quitCode_) {
    VARIANT code;
    quitCode_ = Argument(params, 0, VT_I4, &code) ? V_I4(&code) : 0;
  }
  if (!exception)
    return kQuitRequested;
  *exception = EXCEPINFO{};
  exception->scode = kQuitRequested;
  exception->bstrDescription = SysAllocString(L"Quit");
  return DISP_E_EXCEPTION;
}

void HostObject::Disconnect() {
  connections_.clear();
  script_.Reset();
}

}  // namespace vtq::script_host
