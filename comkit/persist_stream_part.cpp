#include "comkit/persist_stream_part.h"

#include "comkit/com_barrier.h"
#include "comkit/control_stream.h"

namespace vtq::comkit {

STDMETHODIMP PersistStreamPart::GetClassID(CLSID* out) try {
  if (!out)
    return E_POINTER;
  *out = *core_.Look().clsid;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetClassID");
}

STDMETHODIMP PersistStreamPart::Load(LPSTREAM stream) try {
  if (!stream)
    return E_POINTER;
  SIZEL extent = {};
  const HRESULT hr = ReadControlState(stream, &extent);
  if (FAILED(hr))
    return hr;
  const SIZEL fixed = core_.Himetric();
  core_.SetDirty(extent.cx != fixed.cx || extent.cy != fixed.cy);
  return S_OK;
} catch (...) {
  return FailCurrentException(L"Load");
}

STDMETHODIMP PersistStreamPart::Save(LPSTREAM stream, BOOL clearDirty) try {
  if (!stream)
    return E_POINTER;
  const HRESULT hr = WriteControlState(stream, core_.Himetric());
  if (SUCCEEDED(hr) && clearDirty)
    core_.SetDirty(false);
  return hr;
} catch (...) {
  return FailCurrentException(L"Save");
}

STDMETHODIMP PersistStreamPart::GetSizeMax(ULARGE_INTEGER* size) try {
  if (!size)
    return E_POINTER;
  size->QuadPart = kControlStateSize;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetSizeMax");
}

STDMETHODIMP PersistStreamPart::InitNew() try {
  core_.SetDirty(false);
  return S_OK;
} catch (...) {
  return FailCurrentException(L"InitNew");
}

}  // namespace vtq::comkit
