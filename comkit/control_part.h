#pragma once
// One interface of a control, kept inside the control object: it answers
// IUnknown for the whole object (so every interface reaches every other,
// and the identity is the object's), and works on the state the control's
// interfaces share.

#include <windows.h>
#include <unknwn.h>

#include "comkit/control_core.h"

namespace vtq::comkit {

template <class Interface>
class ControlPart : public Interface {
 public:
  explicit ControlPart(ControlCore& core) : core_(core) {}
  ControlPart(const ControlPart&) = delete;
  ControlPart& operator=(const ControlPart&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    return core_.Outer().QueryInterface(riid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return core_.Outer().AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return core_.Outer().Release(); }

 protected:
  ~ControlPart() = default;
  ControlCore& core_;
};

}  // namespace vtq::comkit
