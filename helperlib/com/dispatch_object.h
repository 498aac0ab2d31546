#pragma once
// The COM frame of every class: reference counting, QueryInterface for
// IUnknown, IDispatch, the dual interface and ISupportErrorInfo, and
// IDispatch served from the type library embedded in this DLL. A class
// derives from DispatchObject<its interface> and implements the members.

#include <wrl/client.h>

#include <memory>
#include <new>
#include <vector>

#include "helperlib/com/com_support.h"
#include "helperlib/com/shared_instances.h"

namespace orrin::com {

// The ITypeInfo of one interface of our own type library; null when the
// library cannot be loaded (IDispatch then answers E_FAIL).
Microsoft::WRL::ComPtr<ITypeInfo> OwnTypeInfo(REFIID iid);

// Invoke's arguments, with by-reference variants that go to [in]
// parameters replaced by their values: script clients pass variables by
// reference even to by-value parameters, which DispInvoke cannot convert.
class InvokeArguments {
 public:
  InvokeArguments(ITypeInfo* info, DISPID member, WORD flags, const DISPPARAMS& params);
  ~InvokeArguments();
  InvokeArguments(const InvokeArguments&) = delete;
  InvokeArguments& operator=(const InvokeArguments&) = delete;
  DISPPARAMS* Params() { return &params_; }

 private:
  std::vector<VARIANT> values_;
  std::vector<bool> owned_;
  DISPPARAMS params_;
};

template <class Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
 public:
  DispatchObject() : info_(OwnTypeInfo(__uuidof(Interface))), shared_(SharedInstances::Acquire()) {
    ObjectCreated();
  }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // Creates an object of class T and queries it for riid.
  template <class T>
  static HRESULT Create(REFIID riid, void** out) {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    T* object = new (std::nothrow) T();
    if (!object)
      return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0)
      delete this;
    return left;
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
                      VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
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
  }

  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == __uuidof(Interface) ? S_OK : S_FALSE;
  }

 protected:
  virtual ~DispatchObject() { ObjectDestroyed(); }
  SharedInstances& Shared() { return *shared_; }

 private:
  // A member's failure reaches a late-bound caller as an exception that
  // carries the error info the member set.
  static HRESULT WithException(HRESULT hr, EXCEPINFO* excepInfo) {
    if (SUCCEEDED(hr) || hr == DISP_E_EXCEPTION || !excepInfo)
      return hr;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
      return hr;
    *excepInfo = EXCEPINFO{};
    info->GetSource(&excepInfo->bstrSource);
    info->GetDescription(&excepInfo->bstrDescription);
    info->GetHelpFile(&excepInfo->bstrHelpFile);
    excepInfo->scode = hr;
    info->Release();
    return DISP_E_EXCEPTION;
  }

  LONG refs_ = 1;
  Microsoft::WRL::ComPtr<ITypeInfo> info_;
  std::shared_ptr<SharedInstances> shared_;
};

}  // namespace orrin::com
