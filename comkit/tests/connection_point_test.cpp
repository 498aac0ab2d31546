// Connection points as COM clients meet them: the contract's error cases,
// reference counts that come back to where they started, and events whose
// by-reference Cancel comes back from the sink.
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

// An event interface of our own, and one the source does not raise.
const IID kEvents = {0x6d1f3c2a, 0x4b7e, 0x4c11, {0x9a, 0x52, 0x1e, 0x0b, 0x83, 0x7f, 0x21, 0xc4}};
const IID kOtherEvents = {
    0x6d1f3c2b, 0x4b7e, 0x4c11, {0x9a, 0x52, 0x1e, 0x0b, 0x83, 0x7f, 0x21, 0xc4}};
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
  ConnectionPoints points_{*this, {kEvents}};
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

}  // namespace
}  // namespace vtq::comkit
