#pragma once
// IOleObject: siting, verbs, the fixed extent and the container's advise
// sinks.
//
// SetExtent answers E_FAIL and keeps the fixed size: that is the answer the
// interface defines for an object whose size its container cannot set, and
// form containers answer it by asking GetExtent for the real size (hosts
// that ignore the answer, as Wine's atl.dll does, still get a window of the
// fixed size through SetObjectRects). Answering S_OK would tell them the
// size they asked for had been taken.

#include <oleidl.h>

#include "comkit/com_barrier.h"
#include "comkit/control_part.h"

namespace vtq::comkit {

class OleObjectPart final : public ControlPart<IOleObject> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** out) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD saveOption) override try {
    return core_.Close(saveOption);
  } catch (...) {
    return FailCurrentException(L"Close");
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* out) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* out) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

}  // namespace vtq::comkit
