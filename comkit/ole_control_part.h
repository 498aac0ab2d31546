#pragma once
// IOleControl: no mnemonics, no ambient property the control follows, and
// the container's event freeze kept for the derived control to honour.

#include <ocidl.h>

#include "comkit/control_part.h"

namespace vtq::comkit {

class OleControlPart final : public ControlPart<IOleControl> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG*) override { return S_OK; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL freeze) override;
};

}  // namespace vtq::comkit
