#include "comkit/view_object_part.h"

#include "comkit/com_barrier.h"
#include "comkit/control_caption.h"

namespace vtq::comkit {

STDMETHODIMP ViewObjectPart::Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                  LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                  ULONG_PTR) try {
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  if (index != -1)
    return DV_E_LINDEX;
  if (!dc || !bounds)
    return E_INVALIDARG;
  const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  DrawCaption(dc, rect, core_.Look());
  return S_OK;
} catch (...) {
  return FailCurrentException(L"Draw");
}

STDMETHODIMP ViewObjectPart::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                         LOGPALETTE** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return S_FALSE;  // system colours only
} catch (...) {
  return FailCurrentException(L"GetColorSet");
}

STDMETHODIMP ViewObjectPart::Freeze(DWORD, LONG, void*, DWORD* out) try {
  if (!out)
    return E_POINTER;
  *out = 0;
  return E_NOTIMPL;
} catch (...) {
  return FailCurrentException(L"Freeze");
}

STDMETHODIMP ViewObjectPart::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) try {
  core_.SetViewSink(aspects, flags, sink);
  return S_OK;
} catch (...) {
  return FailCurrentException(L"SetAdvise");
}

STDMETHODIMP ViewObjectPart::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) try {
  return core_.GetViewSink(aspects, flags, sink);
} catch (...) {
  return FailCurrentException(L"GetAdvise");
}

STDMETHODIMP ViewObjectPart::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) try {
  if (!size)
    return E_POINTER;
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  *size = core_.Himetric();
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetExtent");
}

}  // namespace vtq::comkit
