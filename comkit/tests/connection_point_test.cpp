// Connection points as COM clients meet them: the contract's error cases,
// reference counts that come back to where they started, events whose
// by-reference Cancel comes back from the sink, and the enumerators of
// points and of connections.
#include "comkit/connection_point.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "base/win/restore_guards.h"
#include "comkit/dispatch_object.h"
#include "comkit/module_state.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;

// Two event interfaces of our own, and one the source does not raise.
const IID kEvents = {0x6d1f3c2a, 0x4b7e, 0x4c11, {0x9a, 0x52, 0x1e, 0x0b, 0x83, 0x7f, 0x21, 0xc4}};
const IID kOtherEvents = {
    0x6d1f3c2b, 0x4b7e, 0x4c11, {0x9a, 0x52, 0x1e, 0x0b, 0x83, 0x7f, 0x21, 0xc4}};
const IID kStatusEvents = {
    0x6d1f3c2c, 0x4b7e, 0x4c11, {0x9a, 0x52, 0x1e, 0x0b, 0x83, 0x7f, 0x21, 0xc4}};
constexpr DISPID kRequireNextDisk = 3;

// An object that raises kEvents, as the control will.
class EventSource final : public DispatchObject<IDispatch, IConnectionPointContainer> {
 public:
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    return points_.Find(riid, out);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override {
    return points_.Enum(out);
  }
  ConnectionPoint& Events() { return *points_.Of(kEvents); }

 private:
  ~EventSource() override { points_.UnadviseAll(); }
  ConnectionPoints points_{*this, {kEvents, kStatusEvents}};
};

ComPtr<IConnectionPointContainer> NewSource() {
  ComPtr<IConnectionPointContainer> source;
  EXPECT_EQ((DispatchObject<IDispatch, IConnectionPointContainer>::Create<EventSource>(
                IID_IConnectionPointContainer, &source)),
            S_OK);
  return source;
}

ComPtr<IConnectionPoint> PointOf(IConnectionPointContainer* source) {
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(source->FindConnectionPoint(kEvents, &point), S_OK);
  return point;
}

// A sink owned by the test: it counts references without deleting itself,
// so that the counts can be read after everything else has gone.
class Sink : public IDispatch {
 public:
  explicit Sink(bool events = true) : events_(events) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || (events_ && (riid == kEvents || riid == IID_IDispatch)))
      *out = static_cast<IDispatch*>(this);
    if (!*out)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    calls.push_back(member);
    if (onEvent)
      onEvent(*params);
    return S_OK;
  }

  ULONG refs = 1;  // the test's own
  std::vector<DISPID> calls;
  std::function<void(DISPPARAMS&)> onEvent;

 private:
  bool events_;
};

class ConnectionPointTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.Initialised()); }
  // Every object of the module is gone once the test has let its last go.
  void ExpectAllObjectsGone() { EXPECT_TRUE(CanUnload()); }

 private:
  const base::win::ScopedCom com_;
};

TEST_F(ConnectionPointTest, NullOutParametersAreRefused) {
  Sink sink;
  {
    auto source = NewSource();
    EXPECT_EQ(source->FindConnectionPoint(kEvents, nullptr), E_POINTER);
    EXPECT_EQ(source->EnumConnectionPoints(nullptr), E_POINTER);
    auto point = PointOf(source.Get());
    DWORD cookie = 7;
    EXPECT_EQ(point->Advise(&sink, nullptr), E_POINTER);
    EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(point->GetConnectionInterface(nullptr), E_POINTER);
    EXPECT_EQ(point->GetConnectionPointContainer(nullptr), E_POINTER);
    EXPECT_EQ(point->EnumConnections(nullptr), E_POINTER);
  }
  EXPECT_EQ(sink.refs, 1u);
  ExpectAllObjectsGone();
}

TEST_F(ConnectionPointTest, AnEventInterfaceTheSourceDoesNotRaiseHasNoPoint) {
  auto source = NewSource();
  // Whatever the caller's variable held is overwritten.
  IConnectionPoint* raw = reinterpret_cast<IConnectionPoint*>(source.Get());
  EXPECT_EQ(source->FindConnectionPoint(kOtherEvents, &raw), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(raw, nullptr);
}

TEST_F(ConnectionPointTest, ASinkWithoutTheEventInterfaceCannotConnect) {
  Sink plain(false);
  {
    auto source = NewSource();
    auto point = PointOf(source.Get());
    DWORD cookie = 7;
    EXPECT_EQ(point->Advise(&plain, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(plain.refs, 1u);
  }
  EXPECT_EQ(plain.refs, 1u);
  ExpectAllObjectsGone();
}

TEST_F(ConnectionPointTest, AnUnknownCookieHasNoConnection) {
  Sink sink;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(12345), CONNECT_E_NOCONNECTION);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

TEST_F(ConnectionPointTest, CookiesAreDistinctAndNeverZero) {
  Sink sink;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD first = 0, second = 0;
  ASSERT_EQ(point->Advise(&sink, &first), S_OK);
  ASSERT_EQ(point->Advise(&sink, &second), S_OK);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
  ASSERT_EQ(point->Unadvise(first), S_OK);
  DWORD third = 0;
  ASSERT_EQ(point->Advise(&sink, &third), S_OK);
  EXPECT_NE(third, first) << "a cookie is not handed out twice";
  point->Unadvise(second);
  point->Unadvise(third);
}

TEST_F(ConnectionPointTest, ThePointNamesItsInterfaceAndItsContainer) {
  auto source = NewSource();
  auto point = PointOf(source.Get());
  IID iid{};
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(iid == kEvents);
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(point->GetConnectionPointContainer(&container), S_OK);
  ComPtr<IUnknown> a, b;
  source.As(&a);
  container.As(&b);
  EXPECT_EQ(a.Get(), b.Get());
}

TEST_F(ConnectionPointTest, ReferenceCountsComeBackToZero) {
  Sink sink;
  {
    auto source = NewSource();
    auto point = PointOf(source.Get());
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(sink.refs, 2u);
    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(sink.refs, 1u);
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    // Left advised: the source's teardown lets the sink go.
  }
  EXPECT_EQ(sink.refs, 1u);
  ExpectAllObjectsGone();
}

TEST_F(ConnectionPointTest, APointKeepsItsContainerAlive) {
  ComPtr<IConnectionPoint> point;
  {
    auto source = NewSource();
    point = PointOf(source.Get());
  }
  EXPECT_FALSE(CanUnload());
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(point->GetConnectionPointContainer(&container), S_OK);
  container.Reset();
  point.Reset();
  ExpectAllObjectsGone();
}

TEST_F(ConnectionPointTest, AByReferenceCancelSetBySinkComesBack) {
  Sink sink;
  sink.onEvent = [](DISPPARAMS& params) {
    ASSERT_EQ(params.cArgs, 2u);
    // Last argument first: Cancel, then DiskNumber.
    ASSERT_EQ(V_VT(&params.rgvarg[0]), VT_BOOL | VT_BYREF);
    EXPECT_EQ(V_VT(&params.rgvarg[1]), VT_I2);
    EXPECT_EQ(V_I2(&params.rgvarg[1]), 3);
    *V_BOOLREF(&params.rgvarg[0]) = VARIANT_TRUE;
  };
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT disk;
  V_VT(&disk) = VT_I2;
  V_I2(&disk) = 3;
  const VARIANT args[] = {disk, ByRef(&cancel)};
  auto& events = static_cast<EventSource*>(source.Get())->Events();
  EXPECT_EQ(FireEvent(events, kRequireNextDisk, args), S_OK);
  EXPECT_EQ(cancel, VARIANT_TRUE);
  EXPECT_EQ(sink.calls, std::vector<DISPID>{kRequireNextDisk});
  point->Unadvise(cookie);
}

TEST_F(ConnectionPointTest, EveryAdvisedSinkHearsTheEventOnce) {
  Sink first, second;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD a = 0, b = 0;
  ASSERT_EQ(point->Advise(&first, &a), S_OK);
  ASSERT_EQ(point->Advise(&second, &b), S_OK);
  auto& events = static_cast<EventSource*>(source.Get())->Events();
  EXPECT_EQ(FireEvent(events, 1, {}), S_OK);
  EXPECT_EQ(first.calls.size(), 1u);
  EXPECT_EQ(second.calls.size(), 1u);
  point->Unadvise(a);
  EXPECT_EQ(FireEvent(events, 1, {}), S_OK);
  EXPECT_EQ(first.calls.size(), 1u);
  EXPECT_EQ(second.calls.size(), 2u);
  point->Unadvise(b);
}

TEST_F(ConnectionPointTest, ASinkMayUnadviseItselfFromInsideTheEvent) {
  Sink leaving, staying;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD leavingCookie = 0, stayingCookie = 0;
  ASSERT_EQ(point->Advise(&leaving, &leavingCookie), S_OK);
  ASSERT_EQ(point->Advise(&staying, &stayingCookie), S_OK);
  // Under the lock this would deadlock; on the copied list it is harmless.
  leaving.onEvent = [&](DISPPARAMS&) { EXPECT_EQ(point->Unadvise(leavingCookie), S_OK); };
  auto& events = static_cast<EventSource*>(source.Get())->Events();
  EXPECT_EQ(FireEvent(events, 1, {}), S_OK);
  EXPECT_EQ(leaving.calls.size(), 1u);
  EXPECT_EQ(staying.calls.size(), 1u);
  EXPECT_EQ(leaving.refs, 1u);
  EXPECT_EQ(FireEvent(events, 1, {}), S_OK);
  EXPECT_EQ(leaving.calls.size(), 1u);
  EXPECT_EQ(staying.calls.size(), 2u);
  point->Unadvise(stayingCookie);
  EXPECT_EQ(staying.refs, 1u);
}

TEST_F(ConnectionPointTest, TheSourceAnswersForItsFurtherInterfaces) {
  auto source = NewSource();
  ComPtr<IDispatch> dispatch;
  EXPECT_EQ(source.As(&dispatch), S_OK);
  ComPtr<IConnectionPointContainer> again;
  EXPECT_EQ(dispatch.As(&again), S_OK);
  EXPECT_EQ(again.Get(), source.Get());
  ComPtr<IConnectionPoint> notHere;
  EXPECT_EQ(source.As(&notHere), E_NOINTERFACE);
}

// The event interface a point handed out by an enumerator stands for.
IID EventsOf(IConnectionPoint* point) {
  IID iid{};
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  return iid;
}

ComPtr<IEnumConnectionPoints> PointsOf(IConnectionPointContainer* source) {
  ComPtr<IEnumConnectionPoints> points;
  EXPECT_EQ(source->EnumConnectionPoints(&points), S_OK);
  return points;
}

ComPtr<IEnumConnections> ConnectionsOf(IConnectionPoint* point) {
  ComPtr<IEnumConnections> connections;
  EXPECT_EQ(point->EnumConnections(&connections), S_OK);
  return connections;
}

// Fetches what is left of an enumeration of connections, one at a time,
// and lets the references Next handed out go again.
std::vector<CONNECTDATA> RestOf(IEnumConnections* connections) {
  std::vector<CONNECTDATA> rest;
  CONNECTDATA one{};
  while (connections->Next(1, &one, nullptr) == S_OK) {
    rest.push_back(one);
    one.pUnk->Release();
  }
  return rest;
}

TEST_F(ConnectionPointTest, EveryPointIsListedInTheOrderTheSourceNamedThem) {
  auto source = NewSource();
  auto points = PointsOf(source.Get());
  ASSERT_TRUE(points);
  IConnectionPoint* fetched[3] = {};
  ULONG count = 99;
  EXPECT_EQ(points->Next(3, fetched, &count), S_FALSE) << "three asked for, two left";
  ASSERT_EQ(count, 2u);
  EXPECT_TRUE(EventsOf(fetched[0]) == kEvents);
  EXPECT_TRUE(EventsOf(fetched[1]) == kStatusEvents);
  EXPECT_EQ(fetched[2], nullptr);
  EXPECT_EQ(fetched[0], PointOf(source.Get()).Get()) << "the point FindConnectionPoint gives";
  fetched[0]->Release();
  fetched[1]->Release();

  EXPECT_EQ(points->Next(1, fetched, nullptr), S_FALSE) << "nothing left";
  EXPECT_EQ(points->Next(1, fetched, &count), S_FALSE);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(points->Reset(), S_OK);
  EXPECT_EQ(points->Next(2, fetched, &count), S_OK);
  EXPECT_EQ(count, 2u);
  fetched[0]->Release();
  fetched[1]->Release();
}

TEST_F(ConnectionPointTest, SkippingPastTheEndStopsAtTheEnd) {
  auto source = NewSource();
  auto points = PointsOf(source.Get());
  ASSERT_TRUE(points);
  EXPECT_EQ(points->Skip(0), S_OK);
  EXPECT_EQ(points->Skip(1), S_OK);
  ComPtr<IConnectionPoint> second;
  ASSERT_EQ(points->Next(1, &second, nullptr), S_OK);
  EXPECT_TRUE(EventsOf(second.Get()) == kStatusEvents);
  EXPECT_EQ(points->Reset(), S_OK);
  EXPECT_EQ(points->Skip(3), S_FALSE);
  IConnectionPoint* none = nullptr;
  ULONG count = 99;
  EXPECT_EQ(points->Next(1, &none, &count), S_FALSE);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(points->Skip(1), S_FALSE);
}

TEST_F(ConnectionPointTest, ACloneStartsWhereItsOriginalIsAndThenGoesItsOwnWay) {
  auto source = NewSource();
  auto points = PointsOf(source.Get());
  ASSERT_TRUE(points);
  ASSERT_EQ(points->Skip(1), S_OK);
  ComPtr<IEnumConnectionPoints> clone;
  ASSERT_EQ(points->Clone(&clone), S_OK);
  ASSERT_NE(clone.Get(), points.Get());
  ASSERT_EQ(points->Reset(), S_OK);
  ComPtr<IConnectionPoint> fromClone, fromOriginal;
  ASSERT_EQ(clone->Next(1, &fromClone, nullptr), S_OK);
  ASSERT_EQ(points->Next(1, &fromOriginal, nullptr), S_OK);
  EXPECT_TRUE(EventsOf(fromClone.Get()) == kStatusEvents);
  EXPECT_TRUE(EventsOf(fromOriginal.Get()) == kEvents);
  EXPECT_EQ(clone->Skip(1), S_FALSE) << "the clone is at its end";
  EXPECT_EQ(points->Skip(1), S_OK) << "the original is not";
}

TEST_F(ConnectionPointTest, EnumeratorsRefuseNullOutParameters) {
  Sink sink;
  {
    auto source = NewSource();
    auto point = PointOf(source.Get());
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    auto points = PointsOf(source.Get());
    ASSERT_TRUE(points);
    auto connections = ConnectionsOf(point.Get());
    ASSERT_TRUE(connections);
    ULONG count = 99;
    EXPECT_EQ(points->Next(1, nullptr, &count), E_POINTER);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(connections->Next(1, nullptr, &count), E_POINTER);
    IConnectionPoint* fetchedPoints[2] = {};
    CONNECTDATA fetchedConnections[2] = {};
    EXPECT_EQ(points->Next(2, fetchedPoints, nullptr), E_POINTER)
        << "more than one asked for, and no place for how many came";
    EXPECT_EQ(connections->Next(2, fetchedConnections, nullptr), E_POINTER);
    EXPECT_EQ(fetchedPoints[0], nullptr);
    EXPECT_EQ(fetchedConnections[0].pUnk, nullptr);
    EXPECT_EQ(points->Clone(nullptr), E_POINTER);
    EXPECT_EQ(connections->Clone(nullptr), E_POINTER);
    EXPECT_EQ(sink.refs, 3u) << "advised, and in the snapshot";
  }
  EXPECT_EQ(sink.refs, 1u);
  ExpectAllObjectsGone();
}

TEST_F(ConnectionPointTest, EveryConnectionIsListedWithItsCookieAndSink) {
  Sink first, second, third;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD cookies[3] = {};
  ASSERT_EQ(point->Advise(&first, &cookies[0]), S_OK);
  ASSERT_EQ(point->Advise(&second, &cookies[1]), S_OK);
  ASSERT_EQ(point->Advise(&third, &cookies[2]), S_OK);
  ASSERT_EQ(point->Unadvise(cookies[1]), S_OK);
  auto connections = ConnectionsOf(point.Get());
  ASSERT_TRUE(connections);

  CONNECTDATA fetched[4] = {};
  ULONG count = 99;
  EXPECT_EQ(connections->Next(4, fetched, &count), S_FALSE);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(fetched[0].dwCookie, cookies[0]);
  EXPECT_EQ(fetched[0].pUnk, static_cast<IDispatch*>(&first));
  EXPECT_EQ(fetched[1].dwCookie, cookies[2]);
  EXPECT_EQ(fetched[1].pUnk, static_cast<IDispatch*>(&third));
  EXPECT_EQ(first.refs, 4u) << "the test's, the point's, the snapshot's and the caller's";
  fetched[0].pUnk->Release();
  fetched[1].pUnk->Release();
  EXPECT_EQ(first.refs, 3u);
  EXPECT_EQ(second.refs, 1u) << "an unadvised sink is in no snapshot";
  connections.Reset();
  EXPECT_EQ(first.refs, 2u);
  point->Unadvise(cookies[0]);
  point->Unadvise(cookies[2]);
}

TEST_F(ConnectionPointTest, AnEnumerationIsASnapshotOfTheConnections) {
  Sink staying, leaving, late;
  auto source = NewSource();
  auto point = PointOf(source.Get());
  DWORD stayingCookie = 0, leavingCookie = 0, lateCookie = 0;
  ASSERT_EQ(point->Advise(&staying, &stayingCookie), S_OK);
  ASSERT_EQ(point->Advise(&leaving, &leavingCookie), S_OK);
  auto before = ConnectionsOf(point.Get());
  ASSERT_TRUE(before);
  ASSERT_EQ(point->Unadvise(leavingCookie), S_OK);
  ASSERT_EQ(point->Advise(&late, &lateCookie), S_OK);
  EXPECT_EQ(leaving.refs, 2u) << "the snapshot still holds the sink that left";

  const auto old = RestOf(before.Get());
  ASSERT_EQ(old.size(), 2u);
  EXPECT_EQ(old[0].dwCookie, stayingCookie);
  EXPECT_EQ(old[1].dwCookie, leavingCookie);
  auto after = ConnectionsOf(point.Get());
  ASSERT_TRUE(after);
  const auto now = RestOf(after.Get());
  ASSERT_EQ(now.size(), 2u);
  EXPECT_EQ(now[0].dwCookie, stayingCookie);
  EXPECT_EQ(now[1].dwCookie, lateCookie);

  before.Reset();
  EXPECT_EQ(leaving.refs, 1u);
  point->Unadvise(stayingCookie);
  point->Unadvise(lateCookie);
  after = ConnectionsOf(point.Get());
  ASSERT_TRUE(after);
  EXPECT_TRUE(RestOf(after.Get()).empty());
}

TEST_F(ConnectionPointTest, EnumeratorsKeepTheSourceAliveAndLetEverythingGoAtTheEnd) {
  Sink sink;
  ComPtr<IEnumConnectionPoints> points;
  ComPtr<IEnumConnections> connections, clone;
  {
    auto source = NewSource();
    auto point = PointOf(source.Get());
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    points = PointsOf(source.Get());
    ASSERT_TRUE(points);
    connections = ConnectionsOf(point.Get());
    ASSERT_TRUE(connections);
    ASSERT_EQ(connections->Clone(&clone), S_OK);
  }
  EXPECT_FALSE(CanUnload());
  IConnectionPoint* fetched = nullptr;
  ASSERT_EQ(points->Next(1, &fetched, nullptr), S_OK);
  EXPECT_TRUE(EventsOf(fetched) == kEvents)
      << "the points answer after the source's last client left";
  fetched->Release();
  EXPECT_EQ(RestOf(clone.Get()).size(), 1u);
  ComPtr<IEnumConnectionPoints> wrongKind;
  EXPECT_EQ(connections.As(&wrongKind), E_NOINTERFACE);
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(connections.As(&unknown), S_OK);
  unknown.Reset();
  connections.Reset();
  clone.Reset();
  EXPECT_EQ(sink.refs, 2u) << "still advised: the source lives on through its points' enumerator";
  points.Reset();
  EXPECT_EQ(sink.refs, 1u);
  ExpectAllObjectsGone();
}

}  // namespace
}  // namespace vtq::comkit
