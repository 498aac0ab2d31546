#pragma once
// The state every interface of a fixed-size ActiveX control shares: the
// look, the container's client site and advise sinks, in-place activation
// with the control's window, the dirty flag and the container's event
// freeze. The interface parts (control_parts.h) hold a reference to it and
// answer for the control object; the control object (activex_control.h)
// owns it.
//
// Activation follows the order containers expect: CanInPlaceActivate,
// OnInPlaceActivate, GetWindow, GetWindowContext, the window; UI
// activation adds OnUIActivate and the frame's active object. Whatever
// position a container asks for, the window keeps the fixed size, and a
// container that asked for another size hears of the real one through
// OnPosRectChange.

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <memory>

#include "comkit/control_extent.h"
#include "comkit/control_look.h"
#include "comkit/control_window.h"

namespace vtq::comkit {

class ControlCore {
 public:
  // `outer` is the control object's identity; the core holds no reference
  // to it (it lives inside it).
  ControlCore(const ControlLook& look, IUnknown& outer);
  ~ControlCore();
  ControlCore(const ControlCore&) = delete;
  ControlCore& operator=(const ControlCore&) = delete;

  const ControlLook& Look() const { return look_; }
  IUnknown& Outer() const { return outer_; }

  // The fixed size, in the units each caller needs.
  SIZEL Himetric() const { return TwipsToHimetric(look_.twips); }
  SIZE Pixels() const { return TwipsToPixels(look_.twips, ScreenDpi()); }

  // The container's client site (IOleObject::SetClientSite).
  void SetClientSite(IOleClientSite* site);
  IOleClientSite* ClientSite() const { return clientSite_.Get(); }
  // The container's IOleObject advise sinks, created on first use.
  HRESULT AdviseHolder(IOleAdviseHolder** out);
  // IViewObject::SetAdvise's sink.
  void SetViewSink(DWORD aspects, DWORD flags, IAdviseSink* sink);
  HRESULT GetViewSink(DWORD* aspects, DWORD* flags, IAdviseSink** sink) const;

  // In-place activation; `position` (parent client coordinates) overrides
  // the site's position rectangle when given.
  HRESULT Activate(bool uiActivate, const RECT* position);
  HRESULT UIDeactivate();
  HRESULT InPlaceDeactivate();
  // Hides the window and leaves UI activation, as OLEIVERB_HIDE asks.
  HRESULT Hide();
  // IOleInPlaceObject::SetObjectRects: the window moves to the position's
  // top left corner and keeps its size.
  HRESULT SetObjectRects(const RECT& position);
  // IOleObject::Close: deactivation, a save when asked and dirty, and the
  // advise sinks told.
  HRESULT Close(DWORD saveOption);
  // Leaves every container interface go; the control object's teardown.
  void Shutdown();

  bool InPlaceActive() const { return inPlaceSite_ != nullptr; }
  bool UIActive() const { return uiActive_; }
  HWND Window() const { return window_ ? window_->Handle() : nullptr; }

  // For the derived control: its face changed (the window repaints, view
  // sinks hear of it), its persistent state changed, and whether the
  // container has frozen its events (IOleControl::FreezeEvents): a frozen
  // control drops the events it would raise.
  void ViewChanged();
  void SetDirty(bool dirty) { dirty_ = dirty; }
  bool Dirty() const { return dirty_; }
  void FreezeEvents(bool freeze);
  bool EventsFrozen() const { return freezeCount_ > 0; }

 private:
  void ReportSize(const RECT& asked);

  const ControlLook& look_;
  IUnknown& outer_;
  Microsoft::WRL::ComPtr<IOleClientSite> clientSite_;
  Microsoft::WRL::ComPtr<IOleAdviseHolder> adviseHolder_;
  Microsoft::WRL::ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite_;
  Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame_;
  Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> uiWindow_;
  std::unique_ptr<ControlWindow> window_;
  bool uiActive_ = false;
  bool reportingSize_ = false;
  bool dirty_ = false;
  long freezeCount_ = 0;
};

}  // namespace vtq::comkit
