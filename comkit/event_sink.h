#pragma once
// The receiving end of an event interface: a bare IDispatch without type
// information that answers the event interface's identity, so that a
// connection point takes it. The derived class handles Invoke.

#include <oaidl.h>

#include "comkit/com_barrier.h"
#include "comkit/ref_counted.h"

namespace vtq::comkit {

class EventSink : public RefCounted<IDispatch> {
 public:
  const IID& Events() const { return events_; }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == events_) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override try {
    if (!count)
      return E_POINTER;
    *count = 0;
    return S_OK;
  } catch (...) {
    return FailCurrentException(L"GetTypeInfoCount");
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override try {
    if (out)
      *out = nullptr;
    return E_NOTIMPL;
  } catch (...) {
    return FailCurrentException(L"GetTypeInfo");
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

 protected:
  explicit EventSink(REFIID events) : events_(events) {}

 private:
  const IID events_;
};

}  // namespace vtq::comkit
