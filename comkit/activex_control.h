#pragma once
// The base of a fixed-size ActiveX control: the dispatch frame of
// DispatchObject for the control's own dual interface, plus everything a
// form container needs to site, activate, draw and persist it
// (control_parts.h).
//
// A control derives from ActiveXControl<its dual interface, further
// interfaces...> (IConnectionPointContainer for its events), passes its
// ControlLook (class, fixed size, caption, font, OLEMISC bits) to the
// constructor, implements its members and its connection points, and
// reaches the shared state through Control(): EventsFrozen() before
// raising an event, SetDirty() and ViewChanged() should it ever gain
// persistent or visible state. Its class entry in the embedded type
// library names the [default, source] event interface that
// IProvideClassInfo2 reports.

#include "comkit/control_core.h"
#include "comkit/control_look.h"
#include "comkit/control_parts.h"
#include "comkit/dispatch_object.h"

namespace vtq::comkit {

template <class Interface, class... Further>
class ActiveXControl : public DispatchObject<Interface, Further...> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (IUnknown* part = parts_.Find(riid)) {
      part->AddRef();
      *out = part;
      return S_OK;
    }
    return DispatchObject<Interface, Further...>::QueryInterface(riid, out);
  }

 protected:
  explicit ActiveXControl(const ControlLook& look)
      : core_(look, *static_cast<Interface*>(this)), parts_(core_) {}
  ~ActiveXControl() override { core_.Shutdown(); }

  ControlCore& Control() { return core_; }

 private:
  ControlCore core_;
  ControlParts parts_;
};

}  // namespace vtq::comkit
