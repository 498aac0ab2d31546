#include "control/marrowgate_class.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/win/automation_values.h"
#include "comkit/com_barrier.h"
#include "comkit/event_sink.h"
#include "comkit/activex_control.h"
#include "comkit/ref_counted.h"
#include "control/classes.h"
#include "control/event_args.h"
#include "control/registration.h"

namespace vtq::control {

using Microsoft::WRL::ComPtr;

namespace {

enum ControlEvent : DISPID { kStart = 1, kInterval, kRequireNextDisk, kNotEnoughDiskSpace };

// Where one inner event goes: the control's event, the argument count the
// inner event declares, and whether its first argument widens.
struct Route {
  DISPID innerEvent;
  DISPID controlEvent;
  UINT argumentCount;
  bool widen;
};

// The splitter's events keep their arguments; the assembler's progress
// values widen from 16 to 32 bits.
const std::vector<Route> kSplitterRoutes = {{1, kStart, 1, false},
                                            {2, kInterval, 1, false},
                                            {3, kRequireNextDisk, 2, false},
                                            {4, kNotEnoughDiskSpace, 1, false}};
const std::vector<Route> kAssemblerRoutes = {
    {1, kStart, 1, true}, {2, kInterval, 1, true}, {3, kRequireNextDisk, 2, false}};

}  // namespace

// The control's subscription to one inner object's events. The inner
// object holds the sink; the sink does not hold the control (that would
// keep both alive for ever) and is cut off when the control goes, in case
// someone else still holds it.
class RelaySink final : public comkit::EventSink {
 public:
  RelaySink(REFIID events, const std::vector<Route>& routes, MarrowgateRelay& relay)
      : EventSink(events), routes_(routes), relay_(&relay) {}

  void Disconnect() { relay_ = nullptr; }

  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override try {
    if (!params)
      return E_POINTER;
    for (const Route& route : routes_) {
      if (route.innerEvent == member) {
        if (!relay_)
          return S_OK;
        return relay_->Raise(route.controlEvent, *params, route.argumentCount, route.widen);
      }
    }
    return DISP_E_MEMBERNOTFOUND;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  ~RelaySink() override = default;
  const std::vector<Route>& routes_;
  MarrowgateRelay* relay_;
};

namespace {

ComPtr<IConnectionPoint> PointOf(IUnknown* inner, REFIID events) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (inner && SUCCEEDED(inner->QueryInterface(IID_PPV_ARGS(&container))))
    container->FindConnectionPoint(events, &point);
  return point;
}

// A sink advised on `inner`'s events; null when it could not be made.
ComPtr<RelaySink> Subscribe(IUnknown* inner, REFIID events, const std::vector<Route>& routes,
                            MarrowgateRelay& relay, DWORD& cookie) {
  ComPtr<IDispatch> made;
  if (FAILED(comkit::CreateObject<RelaySink>(IID_IDispatch, &made, events, routes, relay)))
    return nullptr;
  ComPtr<RelaySink> sink(static_cast<RelaySink*>(made.Get()));
  const ComPtr<IConnectionPoint> point = PointOf(inner, events);
  if (!point || FAILED(point->Advise(made.Get(), &cookie))) {
    sink->Disconnect();
    return nullptr;
  }
  return sink;
}

void Unsubscribe(IUnknown* inner, const ComPtr<RelaySink>& sink, DWORD cookie) {
  if (!sink)
    return;
  sink->Disconnect();
  if (const ComPtr<IConnectionPoint> point = PointOf(inner, sink->Events()))
    point->Unadvise(cookie);
}

}  // namespace

MarrowgateRelay::MarrowgateRelay(std::shared_ptr<EngineHost> host,
                                 IConnectionPointContainer& control,
                                 const comkit::ControlCore& core)
    : control_(control), core_(core), points_(control, {DIID___Marrowgate}) {
  // The splitter first, then the assembler, each subscribed to at once.
  if (SUCCEEDED(MakeActiveSplitter(host, IID__ActiveSplitter, &splitter_))) {
    splitterSink_ =
        Subscribe(splitter_.Get(), DIID___ActiveSplitter, kSplitterRoutes, *this, splitterCookie_);
  }
  if (SUCCEEDED(MakeActiveAssembler(host, IID__ActiveAssembler, &assembler_))) {
    assemblerSink_ = Subscribe(assembler_.Get(), DIID___ActiveAssembler, kAssemblerRoutes, *this,
                               assemblerCookie_);
  }
}

MarrowgateRelay::~MarrowgateRelay() {
  Unsubscribe(splitter_.Get(), splitterSink_, splitterCookie_);
  Unsubscribe(assembler_.Get(), assemblerSink_, assemblerCookie_);
  points_.UnadviseAll();
}

HRESULT MarrowgateRelay::Assembler(_ActiveAssembler** out) const {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!assembler_)
    return E_OUTOFMEMORY;
  return assembler_.CopyTo(out);
}

HRESULT MarrowgateRelay::Splitter(_ActiveSplitter** out) const {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!splitter_)
    return E_OUTOFMEMORY;
  return splitter_.CopyTo(out);
}

HRESULT MarrowgateRelay::Raise(DISPID controlEvent, const DISPPARAMS& params, UINT expectedCount,
                               bool widen) {
  if (params.cArgs != expectedCount || !params.rgvarg)
    return DISP_E_BADPARAMCOUNT;
  // A frozen container hears nothing; a by-reference Cancel keeps the
  // engine's own preset.
  if (core_.EventsFrozen())
    return S_OK;
  // DISPPARAMS holds them last first; the event takes them first first.
  std::vector<VARIANT> args(params.rgvarg, params.rgvarg + params.cArgs);
  std::reverse(args.begin(), args.end());
  if (widen) {
    base::win::Variant wide;
    if (FAILED(VariantChangeType(wide.Get(), &args.front(), 0, VT_I4)))
      return DISP_E_TYPEMISMATCH;
    args.front() = LongArg(V_I4(wide.Get()));
  }
  // A container may let the control go from inside its handler; the control
  // (and this relay) stays until the event is over.
  const ComPtr<IConnectionPointContainer> keep(&control_);
  comkit::ConnectionPoint* point = points_.Of(DIID___Marrowgate);
  return point ? comkit::FireEvent(*point, controlEvent, args) : S_OK;
}

namespace {

// Always 2,250 x 570 twips, one bold caption, the OLEMISC bits it registers.
const comkit::ControlLook kMarrowgateLook = {&CLSID_Marrowgate,
                                             {2250, 570},
                                             L"Quorvelle ActiveVantrelloquin",
                                             {L"MS Sans Serif", 825, true},
                                             kMarrowgateMiscStatus};

class Marrowgate final : public comkit::ActiveXControl<_Marrowgate, IConnectionPointContainer> {
 public:
  explicit Marrowgate(std::shared_ptr<EngineHost> host)
      : ActiveXControl(kMarrowgateLook), relay_(std::move(host), *this, Control()) {}

  STDMETHODIMP get_ActiveAssembler(_ActiveAssembler** result) override try {
    return relay_.Assembler(result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_ActiveSplitter(_ActiveSplitter** result) override try {
    return relay_.Splitter(result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override try {
    return relay_.Points().Find(riid, out);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override try {
    return relay_.Points().Enum(out);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  ~Marrowgate() override = default;
  MarrowgateRelay relay_;
};

}  // namespace

HRESULT MakeMarrowgate(std::shared_ptr<EngineHost> host, REFIID riid, void** out) {
  return comkit::CreateObject<Marrowgate>(riid, out, std::move(host));
}

HRESULT CreateMarrowgate(REFIID riid, void** out) {
  return MakeMarrowgate(EngineHost::ForProcess(), riid, out);
}

}  // namespace vtq::control
