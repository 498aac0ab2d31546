#pragma once
// Outgoing events: one connection point per event interface, kept inside
// the object that raises the events (its container). A point shares its
// container's reference count, so that a client holding only the point
// keeps the whole object alive, and it names that container back.
//
// Sinks are held by their event interface, with a reference each, under
// cookies that are never 0 and never reused. Events go to a copy of the
// sink list taken under the lock, each sink with a reference of its own,
// and the sinks are called outside the lock: a sink may unadvise itself
// or others, or advise new ones, from inside its handler.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "comkit/connection_enumerators.h"

namespace vtq::comkit {

class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer& container, REFIID events);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetConnectionInterface(IID* out) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

  const IID& Events() const { return events_; }
  // The sinks advised now, by their event interface, each with a reference
  // of its own.
  std::vector<Microsoft::WRL::ComPtr<IUnknown>> Sinks() const;
  // Lets every sink go, as the container's teardown does.
  void UnadviseAll();

 private:
  IConnectionPointContainer& container_;
  const IID events_;
  mutable std::mutex lock_;
  std::vector<Connection> sinks_;
  DWORD lastCookie_ = 0;
};

// The points of one container, for its IConnectionPointContainer members.
class ConnectionPoints {
 public:
  ConnectionPoints(IConnectionPointContainer& container, std::initializer_list<IID> events);
  ConnectionPoints(const ConnectionPoints&) = delete;
  ConnectionPoints& operator=(const ConnectionPoints&) = delete;

  // IConnectionPointContainer::FindConnectionPoint.
  HRESULT Find(REFIID events, IConnectionPoint** out);
  // IConnectionPointContainer::EnumConnectionPoints: every point, in the
  // order the container named their event interfaces.
  HRESULT Enum(IEnumConnectionPoints** out);

  // The point for an event interface; null when the container has none.
  ConnectionPoint* Of(REFIID events);
  void UnadviseAll();

 private:
  std::vector<std::unique_ptr<ConnectionPoint>> points_;
};

// Calls `member` of a dispinterface on every sink of `point`. `args` are in
// the order the event declares them; a by-reference argument (see ByRef)
// carries back what the sinks set, so the caller reads its own variable
// after the call. A failing sink does not keep the others from the event;
// the result is S_OK, or the failure of the last sink that failed.
HRESULT FireEvent(const ConnectionPoint& point, DISPID member, std::span<const VARIANT> args);

// A by-reference Boolean argument over the caller's variable.
VARIANT ByRef(VARIANT_BOOL* value);

}  // namespace vtq::comkit
