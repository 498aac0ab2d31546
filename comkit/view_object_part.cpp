#include "comkit/view_object_part.h"

#include "comkit/control_caption.h"

namespace vtq::comkit {

STDMETHODIMP ViewObjectPart::Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                  LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                  ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  if (index != -1)
    return DV_E_LINDEX;
  if (!dc || !bounds)
    return E_INVALIDARG;
  const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  DrawCaption(dc, rect, core_.Look());
  return S_OK;
}

STDMETHODIMP ViewObjectPart::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                         LOGPALETTE** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return S_FALSE;  // system colours only
}

STDMETHODIMP ViewObjectPart::Freeze(DWORD, LONG, void*, DWORD* out) {
  if (!out)
    return E_POINTER;
  *out = 0;
  return E_NOTIMPL;
}

STDMETHODIMP ViewObjectPart::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  core_.SetViewSink(aspects, flags, sink);
  return S_OK;
}

STDMETHODIMP ViewObjectPart::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  return core_.GetViewSink(aspects, flags, sink);
}

STDMETHODIMP ViewObjectPart::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (!size)
    return E_POINTER;
  if (aspect != DVASPECT_CONTENT)
    return DV_E_DVASPECT;
  *size = core_.Himetric();
  return S_OK;
}

}  // namespace vtq::comkit
