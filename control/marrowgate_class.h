#pragma once
// Marrowgate, the control: one ActiveSplitter and one ActiveAssembler made
// with it and released with it, whose events it raises as its own
// (__Marrowgate). The class itself (marrowgate_class.cpp, made by
// MakeMarrowgate) is a comkit::ActiveXControl that holds a MarrowgateRelay:
// the control base answers the container, the relay the engine.

#include <memory>

#include <wrl/client.h>

#include "comkit/connection_point.h"
#include "comkit/control_core.h"
#include "control/com_values.h"
#include "control/engine_host.h"
#include "control/interfaces.h"

namespace vtq::control {

class RelaySink;

// The engine side of the control: its two objects, subscribed to, and the
// connection point its container's sinks advise. `control` is the COM
// object the container sees; the relay raises the events in its name,
// and drops them while the container has the control's events frozen.
class MarrowgateRelay {
 public:
  MarrowgateRelay(std::shared_ptr<EngineHost> host, IConnectionPointContainer& control,
                  const comkit::ControlCore& core);
  ~MarrowgateRelay();
  MarrowgateRelay(const MarrowgateRelay&) = delete;
  MarrowgateRelay& operator=(const MarrowgateRelay&) = delete;

  // E_OUTOFMEMORY when the object could not be made with the control.
  HRESULT Assembler(_ActiveAssembler** out) const;
  HRESULT Splitter(_ActiveSplitter** out) const;
  comkit::ConnectionPoints& Points() { return points_; }

  // An inner object's event, raised again as the control's `controlEvent`
  // with the same arguments; `widen` turns the first from 16 into 32 bits.
  // By-reference arguments stay the inner object's variables, so what the
  // container sets reaches the engine.
  HRESULT Raise(DISPID controlEvent, const DISPPARAMS& params, UINT expectedCount, bool widen);

 private:
  IConnectionPointContainer& control_;
  const comkit::ControlCore& core_;
  comkit::ConnectionPoints points_;
  Microsoft::WRL::ComPtr<_ActiveSplitter> splitter_;
  Microsoft::WRL::ComPtr<_ActiveAssembler> assembler_;
  Microsoft::WRL::ComPtr<RelaySink> splitterSink_;
  Microsoft::WRL::ComPtr<RelaySink> assemblerSink_;
  DWORD splitterCookie_ = 0;
  DWORD assemblerCookie_ = 0;
};

}  // namespace vtq::control
