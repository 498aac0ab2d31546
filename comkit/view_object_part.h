#pragma once
// IViewObject2: the control's face drawn into any device context the
// container gives (a print, a metafile, a form in design mode), at the
// size of the bounds it is given, and the fixed extent.

#include <oleidl.h>

#include "comkit/control_part.h"

namespace vtq::comkit {

class ViewObjectPart final : public ControlPart<IViewObject2> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                    LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) override;
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD* out) override;
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) override;
};

}  // namespace vtq::comkit
