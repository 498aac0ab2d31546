#include "comkit/persist_stream_part.h"

#include "comkit/control_stream.h"

namespace vtq::comkit {

STDMETHODIMP PersistStreamPart::GetClassID(CLSID* out) {
  if (!out)
    return E_POINTER;
  *out = *core_.Look().clsid;
  return S_OK;
}

STDMETHODIMP PersistStreamPart::Load(LPSTREAM stream) {
  if (!stream)
    return E_POINTER;
  SIZEL extent = {};
  const HRESULT hr = ReadControlState(stream, &extent);
  if (FAILED(hr))
    return hr;
  const SIZEL fixed = core_.Himetric();
  core_.SetDirty(extent.cx != fixed.cx || extent.cy != fixed.cy);
  return S_OK;
}

STDMETHODIMP PersistStreamPart::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream)
    return E_POINTER;
  const HRESULT hr = WriteControlState(stream, core_.Himetric());
  if (SUCCEEDED(hr) && clearDirty)
    core_.SetDirty(false);
  return hr;
}

STDMETHODIMP PersistStreamPart::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size)
    return E_POINTER;
  size->QuadPart = kControlStateSize;
  return S_OK;
}

STDMETHODIMP PersistStreamPart::InitNew() {
  core_.SetDirty(false);
  return S_OK;
}

}  // namespace vtq::comkit
