#include "comkit/control_core.h"

namespace vtq::comkit {

ControlCore::ControlCore(const ControlLook& look, IUnknown& outer) : look_(look), outer_(outer) {}

ControlCore::~ControlCore() {
  Shutdown();
}

void ControlCore::SetClientSite(IOleClientSite* site) {
  clientSite_ = site;
}

HRESULT ControlCore::AdviseHolder(IOleAdviseHolder** out) {
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(&adviseHolder_);
    if (FAILED(hr))
      return hr;
  }
  return adviseHolder_.CopyTo(out);
}

void ControlCore::SetViewSink(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = sink;
}

HRESULT ControlCore::GetViewSink(DWORD* aspects, DWORD* flags, IAdviseSink** sink) const {
  if (aspects)
    *aspects = viewAspects_;
  if (flags)
    *flags = viewFlags_;
  if (sink) {
    *sink = viewSink_.Get();
    if (*sink)
      (*sink)->AddRef();
  }
  return S_OK;
}

void ControlCore::ViewChanged() {
  if (window_)
    window_->Repaint();
  if (viewSink_) {
    const Microsoft::WRL::ComPtr<IAdviseSink> sink = viewSink_;  // may unadvise itself
    sink->OnViewChange(DVASPECT_CONTENT, -1);
    if (viewFlags_ & ADVF_ONLYONCE)
      viewSink_.Reset();
  }
}

void ControlCore::FreezeEvents(bool freeze) {
  if (freeze)
    ++freezeCount_;
  else if (freezeCount_ > 0)
    --freezeCount_;
}

HRESULT ControlCore::Close(DWORD saveOption) {
  InPlaceDeactivate();
  if (dirty_ && clientSite_ &&
      (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
    clientSite_->SaveObject();
  }
  if (adviseHolder_)
    adviseHolder_->SendOnClose();
  return S_OK;
}

void ControlCore::Shutdown() {
  InPlaceDeactivate();
  viewSink_.Reset();
  adviseHolder_.Reset();
  clientSite_.Reset();
}

}  // namespace vtq::comkit
