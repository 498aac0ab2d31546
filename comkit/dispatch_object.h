#pragma once
// The COM frame of an automation class, over the lifetime of RefCounted:
// QueryInterface for IUnknown, IDispatch, the dual interface,
// ISupportErrorInfo and any further interfaces the class names, and
// IDispatch served from the type library embedded in the server's own DLL.
// A class derives from DispatchObject<its dual interface, further
// interfaces...> and implements the members.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <vector>

#include <string>

#include "base/win/automation_values.h"
#include "comkit/com_barrier.h"
#include "comkit/ref_counted.h"

namespace vtq::comkit {

// The ITypeInfo of one interface of the server's own type library; null
// when the library cannot be loaded (IDispatch then answers E_FAIL).
Microsoft::WRL::ComPtr<ITypeInfo> OwnTypeInfo(REFIID iid);
// The name of the type library that holds info (the component's name, as
// the source of errors no member names); empty without one.
std::wstring LibraryName(ITypeInfo* info);

// Invoke's arguments, with by-reference variants that go to [in]
// parameters replaced by their values: script clients pass variables by
// reference even to by-value parameters, which DispInvoke cannot convert.
class InvokeArguments {
 public:
  InvokeArguments(ITypeInfo* info, DISPID member, WORD flags, const DISPPARAMS& params);
  InvokeArguments(const InvokeArguments&) = delete;
  InvokeArguments& operator=(const InvokeArguments&) = delete;
  DISPPARAMS* Params() { return &params_; }

 private:
  std::vector<VARIANT> values_;
  std::vector<base::win::Variant> copies_;
  DISPPARAMS params_;
};

// A member's failure reaches a late-bound caller as an exception that
// carries the error info the member set.
HRESULT WithException(HRESULT hr, EXCEPINFO* excepInfo);

template <class Interface, class... Further>
class DispatchObject : public RefCounted<Interface, ISupportErrorInfo, Further...> {
 public:
  DispatchObject() : info_(OwnTypeInfo(__uuidof(Interface))), source_(LibraryName(info_.Get())) {}

  // Creates an object of class T for the caller, as CreateObject does.
  template <class T>
  static HRESULT Create(REFIID riid, void** out) {
    return CreateObject<T>(riid, out);
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else {
      *out = FurtherInterface(riid);
      if (!*out)
        return E_NOINTERFACE;
    }
    this->AddRef();
    return S_OK;
  }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count)
      return E_POINTER;
    *count = info_ ? 1 : 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (index != 0)
      return DISP_E_BADINDEX;
    if (!info_)
      return E_FAIL;
    info_.CopyTo(out);
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL)
      return DISP_E_UNKNOWNINTERFACE;
    if (!info_)
      return E_FAIL;
    return DispGetIDsOfNames(info_.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override try {
    if (riid != IID_NULL)
      return DISP_E_UNKNOWNINTERFACE;
    if (!info_)
      return E_FAIL;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    InvokeArguments args(info_.Get(), member, flags, params ? *params : none);
    SetErrorInfo(0, nullptr);
    const HRESULT hr = DispInvoke(static_cast<Interface*>(this), info_.Get(), member, flags,
                                  args.Params(), result, excepInfo, argErr);
    return WithException(hr, excepInfo);
  } catch (...) {
    return WithException(FailCurrentException(source_), excepInfo);
  }

  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == __uuidof(Interface) ? S_OK : S_FALSE;
  }

 protected:
  ~DispatchObject() override = default;

 private:
  void* FurtherInterface(REFIID riid) {
    void* found = nullptr;
    ((found = found                       ? found
              : riid == __uuidof(Further) ? static_cast<Further*>(this)
                                          : nullptr),
     ...);
    return found;
  }

  Microsoft::WRL::ComPtr<ITypeInfo> info_;
  std::wstring source_;
};

}  // namespace vtq::comkit
