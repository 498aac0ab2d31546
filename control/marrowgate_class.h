#pragma once
// Marrowgate, the control: one ActiveSplitter and one ActiveAssembler made
// with it and released with it, whose events it raises as its own
// (__Marrowgate). This file is the control's automation side only; its
// OLE side (IOleObject, IViewObject2, IPersistStreamInit...) stacks on top:
//
//   class MarrowgateControl final
//       : public MarrowgateObject<IOleObject, IOleControl, IViewObject2, ...> {
//     explicit MarrowgateControl(std::shared_ptr<EngineHost> host)
//         : MarrowgateObject(std::move(host)) {}
//     ... the OLE members ...
//   };
//
// and MakeMarrowgate (marrowgate_class.cpp; the class table's
// CreateMarrowgate goes through it) creates that class instead of the
// plain one. MarrowgateObject answers QueryInterface for IUnknown,
// IDispatch, _Marrowgate, ISupportErrorInfo, IConnectionPointContainer,
// IProvideClassInfo and every interface named in its argument list; an
// interface reached through another's base (IOleWindow of
// IOleInPlaceObject) needs a QueryInterface of the derived class's own.

#include <memory>

#include <wrl/client.h>

#include "comkit/connection_point.h"
#include "comkit/dispatch_object.h"
#include "control/com_values.h"
#include "control/engine_host.h"
#include "control/interfaces.h"

namespace vtq::control {

class RelaySink;

// The engine side of the control: its two objects, subscribed to, and the
// connection point its container's sinks advise. `control` is the COM
// object the container sees; the relay raises the events in its name.
class MarrowgateRelay {
 public:
  MarrowgateRelay(std::shared_ptr<EngineHost> host, IConnectionPointContainer& control);
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
  comkit::ConnectionPoints points_;
  Microsoft::WRL::ComPtr<_ActiveSplitter> splitter_;
  Microsoft::WRL::ComPtr<_ActiveAssembler> assembler_;
  Microsoft::WRL::ComPtr<RelaySink> splitterSink_;
  Microsoft::WRL::ComPtr<RelaySink> assemblerSink_;
  DWORD splitterCookie_ = 0;
  DWORD assemblerCookie_ = 0;
};

// The control's automation frame over a MarrowgateRelay, open for the OLE
// interfaces of a derived class.
template <class... OleInterfaces>
class MarrowgateObject : public comkit::DispatchObject<_Marrowgate, IConnectionPointContainer,
                                                       IProvideClassInfo, OleInterfaces...> {
 public:
  explicit MarrowgateObject(std::shared_ptr<EngineHost> host) : relay_(std::move(host), *this) {}

  STDMETHODIMP get_ActiveAssembler(_ActiveAssembler** result) override {
    return relay_.Assembler(result);
  }
  STDMETHODIMP get_ActiveSplitter(_ActiveSplitter** result) override {
    return relay_.Splitter(result);
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    return relay_.Points().Find(riid, out);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override {
    return relay_.Points().Enum(out);
  }
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override {
    return ClassTypeInfo(CLSID_Marrowgate, out);
  }

 protected:
  ~MarrowgateObject() override = default;
  MarrowgateRelay& Relay() { return relay_; }

 private:
  MarrowgateRelay relay_;
};

}  // namespace vtq::control
