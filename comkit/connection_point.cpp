#include "comkit/connection_point.h"

#include <algorithm>
#include <new>

#include "comkit/com_barrier.h"
#include "comkit/connection_enumerators.h"

namespace vtq::comkit {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID events)
    : container_(container), events_(events) {}

ConnectionPoint::~ConnectionPoint() {
  UnadviseAll();
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** out) try {
  if (!out)
    return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
} catch (...) {
  return FailCurrentException(L"QueryInterface");
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() {
  return container_.AddRef();
}

STDMETHODIMP_(ULONG) ConnectionPoint::Release() {
  return container_.Release();
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* out) try {
  if (!out)
    return E_POINTER;
  *out = events_;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetConnectionInterface");
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) try {
  if (!out)
    return E_POINTER;
  *out = &container_;
  container_.AddRef();
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetConnectionPointContainer");
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) try {
  if (!cookie)
    return E_POINTER;
  *cookie = 0;
  if (!sink)
    return E_POINTER;
  Microsoft::WRL::ComPtr<IUnknown> events;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.GetAddressOf()))) ||
      !events) {
    return CONNECT_E_CANNOTCONNECT;
  }
  std::lock_guard hold(lock_);
  *cookie = ++lastCookie_;
  sinks_.emplace_back(*cookie, std::move(events));
  return S_OK;
} catch (...) {
  return FailCurrentException(L"Advise");
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) try {
  Microsoft::WRL::ComPtr<IUnknown> leaving;  // released after the lock is left
  {
    std::lock_guard hold(lock_);
    const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                    [cookie](const auto& sink) { return sink.first == cookie; });
    if (cookie == 0 || found == sinks_.end())
      return CONNECT_E_NOCONNECTION;
    leaving = std::move(found->second);
    sinks_.erase(found);
  }
  return S_OK;
} catch (...) {
  return FailCurrentException(L"Unadvise");
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  std::vector<Connection> snapshot;
  try {
    std::lock_guard hold(lock_);
    snapshot = sinks_;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return EnumerateConnections(std::move(snapshot), out);
} catch (...) {
  return FailCurrentException(L"EnumConnections");
}

std::vector<Microsoft::WRL::ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
  std::lock_guard hold(lock_);
  std::vector<Microsoft::WRL::ComPtr<IUnknown>> sinks;
  sinks.reserve(sinks_.size());
  for (const auto& sink : sinks_)
    sinks.push_back(sink.second);
  return sinks;
}

void ConnectionPoint::UnadviseAll() {
  std::vector<Connection> leaving;
  {
    std::lock_guard hold(lock_);
    leaving.swap(sinks_);
  }
}

ConnectionPoints::ConnectionPoints(IConnectionPointContainer& container,
                                   std::initializer_list<IID> events) {
  for (const IID& iid : events)
    points_.push_back(std::make_unique<ConnectionPoint>(container, iid));
}

HRESULT ConnectionPoints::Find(REFIID events, IConnectionPoint** out) {
  if (!out)
    return E_POINTER;
  *out = Of(events);
  if (!*out)
    return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

HRESULT ConnectionPoints::Enum(IEnumConnectionPoints** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  std::vector<Microsoft::WRL::ComPtr<IConnectionPoint>> snapshot;
  try {
    for (const auto& point : points_)
      snapshot.emplace_back(point.get());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return EnumerateConnectionPoints(std::move(snapshot), out);
}

ConnectionPoint* ConnectionPoints::Of(REFIID events) {
  for (const auto& point : points_) {
    if (point->Events() == events)
      return point.get();
  }
  return nullptr;
}

void ConnectionPoints::UnadviseAll() {
  for (const auto& point : points_)
    point->UnadviseAll();
}

HRESULT FireEvent(const ConnectionPoint& point, DISPID member, std::span<const VARIANT> args) {
  // DISPPARAMS holds the arguments last first.
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                    static_cast<UINT>(reversed.size()), 0};
  HRESULT result = S_OK;
  for (const auto& sink : point.Sinks()) {
    // A dispinterface's pointer is an IDispatch.
    auto* dispatch = static_cast<IDispatch*>(sink.Get());
    const HRESULT hr = dispatch->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                        &params, nullptr, nullptr, nullptr);
    if (FAILED(hr))
      result = hr;
  }
  return result;
}

VARIANT ByRef(VARIANT_BOOL* value) {
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&arg) = value;
  return arg;
}

}  // namespace vtq::comkit
