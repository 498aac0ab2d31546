#pragma once
// In-place activation as the container drives it (IOleInPlaceObject) and
// as the frame talks to the active control (IOleInPlaceActiveObject). The
// control has no menus, tools or accelerators: the frame's calls change
// nothing, and keystrokes are the container's.

#include <oleidl.h>

#include "comkit/com_barrier.h"
#include "comkit/control_part.h"

namespace vtq::comkit {

class InPlaceObjectPart final : public ControlPart<IOleInPlaceObject> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override try { return core_.InPlaceDeactivate(); } catch (...) {
    return FailCurrentException(L"InPlaceDeactivate");
  }
  STDMETHODIMP UIDeactivate() override try { return core_.UIDeactivate(); } catch (...) {
    return FailCurrentException(L"UIDeactivate");
  }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }
};

class InPlaceActiveObjectPart final : public ControlPart<IOleInPlaceActiveObject> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
};

}  // namespace vtq::comkit
