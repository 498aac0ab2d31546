#include "comkit/connection_enumerators.h"

#include <memory>
#include <new>

#include "comkit/com_barrier.h"
#include "comkit/ref_counted.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;

// What differs between the two enumerators: the interface, what the
// snapshot holds and what Next hands out for it.
struct ConnectionPointItems {
  using Interface = IEnumConnectionPoints;
  using Held = ComPtr<IConnectionPoint>;
  using Item = IConnectionPoint*;
  static const IID& Iid() { return IID_IEnumConnectionPoints; }
  static Item HandOut(const Held& point) {
    point->AddRef();
    return point.Get();
  }
};

struct ConnectionItems {
  using Interface = IEnumConnections;
  using Held = Connection;
  using Item = CONNECTDATA;
  static const IID& Iid() { return IID_IEnumConnections; }
  static Item HandOut(const Held& connection) {
    connection.second->AddRef();
    return CONNECTDATA{connection.second.Get(), connection.first};
  }
};

template <class Items>
class SnapshotEnumerator final : public RefCounted<typename Items::Interface> {
 public:
  using Interface = typename Items::Interface;
  using Snapshot = std::shared_ptr<const std::vector<typename Items::Held>>;

  SnapshotEnumerator(Snapshot items, size_t position)
      : items_(std::move(items)), position_(position) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != Items::Iid())
      return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    this->AddRef();
    return S_OK;
  }

  // `fetched` may be null only when a single item is asked for: the caller
  // then learns from S_FALSE alone that none was left.
  STDMETHODIMP Next(ULONG count, typename Items::Item* out, ULONG* fetched) override try {
    if (fetched)
      *fetched = 0;
    if (!out || (count > 1 && !fetched))
      return E_POINTER;
    ULONG given = 0;
    while (given < count && position_ < items_->size())
      out[given++] = Items::HandOut((*items_)[position_++]);
    if (fetched)
      *fetched = given;
    return given == count ? S_OK : S_FALSE;
  } catch (...) {
    return FailCurrentException(L"Next");
  }
  STDMETHODIMP Skip(ULONG count) override try {
    const size_t left = items_->size() - position_;
    if (count > left) {
      position_ = items_->size();
      return S_FALSE;
    }
    position_ += count;
    return S_OK;
  } catch (...) {
    return FailCurrentException(L"Skip");
  }
  STDMETHODIMP Reset() override try {
    position_ = 0;
    return S_OK;
  } catch (...) {
    return FailCurrentException(L"Reset");
  }
  STDMETHODIMP Clone(Interface** out) override try {
    return CreateObject<SnapshotEnumerator>(Items::Iid(), reinterpret_cast<void**>(out), items_,
                                            position_);
  } catch (...) {
    return FailCurrentException(L"Clone");
  }

 private:
  ~SnapshotEnumerator() override = default;

  Snapshot items_;
  size_t position_;
};

template <class Items>
HRESULT Enumerate(std::vector<typename Items::Held> held, typename Items::Interface** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  try {
    auto snapshot = std::make_shared<const std::vector<typename Items::Held>>(std::move(held));
    return CreateObject<SnapshotEnumerator<Items>>(Items::Iid(), reinterpret_cast<void**>(out),
                                                   std::move(snapshot), size_t{0});
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

HRESULT EnumerateConnectionPoints(std::vector<ComPtr<IConnectionPoint>> points,
                                  IEnumConnectionPoints** out) {
  return Enumerate<ConnectionPointItems>(std::move(points), out);
}

HRESULT EnumerateConnections(std::vector<Connection> connections, IEnumConnections** out) {
  return Enumerate<ConnectionItems>(std::move(connections), out);
}

}  // namespace vtq::comkit
