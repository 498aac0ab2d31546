#include "comkit/ole_object_part.h"

#include <wrl/client.h>

#include "comkit/com_barrier.h"

namespace vtq::comkit {

using Microsoft::WRL::ComPtr;

STDMETHODIMP OleObjectPart::SetClientSite(IOleClientSite* site) try {
  core_.SetClientSite(site);
  return S_OK;
} catch (...) {
  return FailCurrentException(L"SetClientSite");
}

STDMETHODIMP OleObjectPart::GetClientSite(IOleClientSite** out) try {
  if (!out)
    return E_POINTER;
  *out = core_.ClientSite();
  if (*out)
    (*out)->AddRef();
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetClientSite");
}

STDMETHODIMP OleObjectPart::GetMoniker(DWORD, DWORD, IMoniker** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
} catch (...) {
  return FailCurrentException(L"GetMoniker");
}

STDMETHODIMP OleObjectPart::GetClipboardData(DWORD, IDataObject** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
} catch (...) {
  return FailCurrentException(L"GetClipboardData");
}

STDMETHODIMP OleObjectPart::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                   LPCRECT position) try {
  if (!core_.ClientSite() && activeSite)
    core_.SetClientSite(activeSite);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return core_.Activate(true, position);
    case OLEIVERB_INPLACEACTIVATE:
      return core_.Activate(false, position);
    case OLEIVERB_HIDE:
      return core_.Hide();
    default:
      break;
  }
  if (verb > 0) {
    // A verb of the control's own that it does not have: the primary one
    // runs instead, as the interface asks.
    const HRESULT hr = core_.Activate(true, position);
    return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
  }
  return E_NOTIMPL;  // OLEIVERB_OPEN and DISCARDUNDOSTATE: no separate window, no undo
} catch (...) {
  return FailCurrentException(L"DoVerb");
}

STDMETHODIMP OleObjectPart::EnumVerbs(IEnumOLEVERB** out) try {
  if (!out)
    return E_POINTER;
  return OleRegEnumVerbs(*core_.Look().clsid, out);
} catch (...) {
  return FailCurrentException(L"EnumVerbs");
}

STDMETHODIMP OleObjectPart::GetUserClassID(CLSID* out) try {
  if (!out)
    return E_POINTER;
  *out = *core_.Look().clsid;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetUserClassID");
}

STDMETHODIMP OleObjectPart::GetUserType(DWORD form, LPOLESTR* out) try {
  if (!out)
    return E_POINTER;
  return OleRegGetUserType(*core_.Look().clsid, form, out);
} catch (...) {
  return FailCurrentException(L"GetUserType");
}

STDMETHODIMP OleObjectPart::SetExtent(DWORD aspect, SIZEL* size) try {
  if (!size)
    return E_POINTER;
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  return E_FAIL;  // the size is fixed (see the header)
} catch (...) {
  return FailCurrentException(L"SetExtent");
}

STDMETHODIMP OleObjectPart::GetExtent(DWORD aspect, SIZEL* size) try {
  if (!size)
    return E_POINTER;
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  *size = core_.Himetric();
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetExtent");
}

STDMETHODIMP OleObjectPart::Advise(IAdviseSink* sink, DWORD* cookie) try {
  if (!cookie)
    return E_POINTER;
  *cookie = 0;
  ComPtr<IOleAdviseHolder> holder;
  const HRESULT hr = core_.AdviseHolder(&holder);
  return FAILED(hr) ? hr : holder->Advise(sink, cookie);
} catch (...) {
  return FailCurrentException(L"Advise");
}

STDMETHODIMP OleObjectPart::Unadvise(DWORD cookie) try {
  ComPtr<IOleAdviseHolder> holder;
  const HRESULT hr = core_.AdviseHolder(&holder);
  return FAILED(hr) ? hr : holder->Unadvise(cookie);
} catch (...) {
  return FailCurrentException(L"Unadvise");
}

STDMETHODIMP OleObjectPart::EnumAdvise(IEnumSTATDATA** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  ComPtr<IOleAdviseHolder> holder;
  const HRESULT hr = core_.AdviseHolder(&holder);
  return FAILED(hr) ? hr : holder->EnumAdvise(out);
} catch (...) {
  return FailCurrentException(L"EnumAdvise");
}

STDMETHODIMP OleObjectPart::GetMiscStatus(DWORD aspect, DWORD* status) try {
  if (!status)
    return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? core_.Look().miscStatus : 0;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetMiscStatus");
}

}  // namespace vtq::comkit
