// ControlCore's in-place activation: the control's window comes and goes
// with it.
#include "comkit/control_core.h"

namespace vtq::comkit {

using Microsoft::WRL::ComPtr;

HRESULT ControlCore::Activate(bool uiActivate, const RECT* position) {
  if (!clientSite_)
    return E_UNEXPECTED;
  if (!inPlaceSite_) {
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(clientSite_.As(&site)))
      return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK)
      return E_FAIL;
    site->OnInPlaceActivate();
    HWND parent = nullptr;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> uiWindow;
    if (FAILED(site->GetWindow(&parent)) ||
        FAILED(site->GetWindowContext(&frame, &uiWindow, &pos, &clip, &frameInfo))) {
      site->OnInPlaceDeactivate();
      return E_FAIL;
    }
    if (position)
      pos = *position;
    auto window =
        std::make_unique<ControlWindow>(look_, parent, POINT{pos.left, pos.top}, Pixels());
    if (!window->Valid()) {
      site->OnInPlaceDeactivate();
      return E_FAIL;
    }
    inPlaceSite_ = site;
    frame_ = frame;
    uiWindow_ = uiWindow;
    window_ = std::move(window);
    ReportSize(pos);
  }
  if (window_)
    ShowWindow(window_->Handle(), SW_SHOW);
  if (uiActivate && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    ComPtr<IOleInPlaceActiveObject> active;
    outer_.QueryInterface(IID_IOleInPlaceActiveObject, &active);
    if (frame_) {
      frame_->SetActiveObject(active.Get(), nullptr);
      frame_->SetBorderSpace(nullptr);
    }
    if (uiWindow_) {
      uiWindow_->SetActiveObject(active.Get(), nullptr);
      uiWindow_->SetBorderSpace(nullptr);
    }
  }
  clientSite_->ShowObject();
  return S_OK;
}

HRESULT ControlCore::UIDeactivate() {
  if (!uiActive_)
    return S_OK;
  uiActive_ = false;
  if (frame_)
    frame_->SetActiveObject(nullptr, nullptr);
  if (uiWindow_)
    uiWindow_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_)
    inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT ControlCore::InPlaceDeactivate() {
  if (!inPlaceSite_)
    return S_OK;
  UIDeactivate();
  window_.reset();
  frame_.Reset();
  uiWindow_.Reset();
  // The site may release the control from inside this call.
  const ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT ControlCore::Hide() {
  UIDeactivate();
  if (window_)
    ShowWindow(window_->Handle(), SW_HIDE);
  return S_OK;
}

HRESULT ControlCore::SetObjectRects(const RECT& position) {
  if (!window_)
    return S_OK;  // the position comes from the site again at activation
  window_->MoveTo({position.left, position.top});
  ReportSize(position);
  return S_OK;
}

void ControlCore::ReportSize(const RECT& asked) {
  const SIZE size = Pixels();
  if (reportingSize_ || !inPlaceSite_ ||
      (asked.right - asked.left == size.cx && asked.bottom - asked.top == size.cy)) {
    return;
  }
  // A container that answers with SetObjectRects of the real size does
  // not come back here a second time.
  reportingSize_ = true;
  const RECT real = {asked.left, asked.top, asked.left + size.cx, asked.top + size.cy};
  inPlaceSite_->OnPosRectChange(&real);
  reportingSize_ = false;
}

}  // namespace vtq::comkit
