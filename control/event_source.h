#pragma once
// The base of the library's classes that raise events: one connection
// point for their event interface, the class info naming their class, and
// the events fired to every sink advised.

#include <initializer_list>
#include <span>

#include "comkit/connection_point.h"
#include "control/by_ref_arguments.h"
#include "control/com_values.h"

namespace vtq::control {

template <class Interface, const IID& kEvents, const CLSID& kClass>
class EventSource
    : public ControlDispatch<Interface, IConnectionPointContainer, IProvideClassInfo> {
 public:
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override try {
    return points_.Find(riid, out);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override try {
    return points_.Enum(out);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override try {
    return ClassTypeInfo(kClass, out);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 protected:
  ~EventSource() override { points_.UnadviseAll(); }

  void Fire(DISPID event, std::initializer_list<VARIANT> args) {
    if (auto* point = points_.Of(kEvents))
      comkit::FireEvent(*point, event, std::span<const VARIANT>(args.begin(), args.size()));
  }

 private:
  comkit::ConnectionPoints points_{*this, {kEvents}};
};

}  // namespace vtq::control
