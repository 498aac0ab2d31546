// The lifetime every object of a server shares: counts a client can read
// back from AddRef and Release, the module's object count that
// DllCanUnloadNow answers from, and deletion exactly at the last Release,
// for plain objects and for the class factories DllGetClassObject hands out.
#include "comkit/ref_counted.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <thread>
#include <vector>

#include "comkit/class_factory.h"
#include "comkit/module_state.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;

// An object that tells the test, when it asks, that it is destroyed.
class Tracked final : public RefCounted<IUnknown> {
 public:
  Tracked() = default;
  explicit Tracked(int& destroyed) : destroyed_(&destroyed) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown)
      return E_NOINTERFACE;
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }

 private:
  ~Tracked() override {
    if (destroyed_)
      ++*destroyed_;
  }
  int* destroyed_ = nullptr;
};

TEST(RefCounted, CountsRunFromOneAndTheLastReleaseDestroysOnce) {
  int destroyed = 0;
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateObject<Tracked>(IID_IUnknown, &object, destroyed), S_OK);
  EXPECT_FALSE(CanUnload());
  IUnknown* raw = object.Detach();
  EXPECT_EQ(raw->AddRef(), 2u);
  EXPECT_EQ(raw->AddRef(), 3u);
  EXPECT_EQ(raw->Release(), 2u);
  EXPECT_EQ(raw->Release(), 1u);
  EXPECT_EQ(destroyed, 0);
  EXPECT_FALSE(CanUnload());
  EXPECT_EQ(raw->Release(), 0u);
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(CanUnload());
}

TEST(RefCounted, AnInterfaceTheObjectLacksLeavesNoObjectBehind) {
  int destroyed = 0;
  IDispatch* dispatch = reinterpret_cast<IDispatch*>(&destroyed);
  EXPECT_EQ(CreateObject<Tracked>(IID_IDispatch, reinterpret_cast<void**>(&dispatch), destroyed),
            E_NOINTERFACE);
  EXPECT_EQ(dispatch, nullptr);
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(CanUnload());
}

TEST(RefCounted, ANullOutParameterCreatesNothing) {
  int destroyed = 0;
  EXPECT_EQ(CreateObject<Tracked>(IID_IUnknown, nullptr, destroyed), E_POINTER);
  EXPECT_EQ(destroyed, 0);
  EXPECT_TRUE(CanUnload());
}

TEST(RefCounted, ReferencesTakenAndGivenOnTwoThreadsBalance) {
  int destroyed = 0;
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateObject<Tracked>(IID_IUnknown, &object, destroyed), S_OK);
  constexpr int kRounds = 20000;
  auto churn = [&] {
    for (int i = 0; i < kRounds; ++i) {
      object->AddRef();
      object->Release();
    }
  };
  std::vector<std::thread> threads;
  threads.emplace_back(churn);
  threads.emplace_back(churn);
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  object.Reset();
  EXPECT_EQ(destroyed, 1);
}

// The factory's own lifetime, over a table of one class.
const CLSID kClass = {0x5b0c6e11, 0x27a4, 0x4d0e, {0x8f, 0x31, 0x6c, 0x2a, 0x90, 0x14, 0x77, 0xd5}};
const CLSID kUnknownClass = {
    0x5b0c6e12, 0x27a4, 0x4d0e, {0x8f, 0x31, 0x6c, 0x2a, 0x90, 0x14, 0x77, 0xd5}};

HRESULT CreateTracked(REFIID riid, void** out) {
  return CreateObject<Tracked>(riid, out);
}

const ClassEntry kClasses[] = {{&kClass, L"Tracked", CreateTracked}};

TEST(ClassFactoryLifetime, AFactoryAndItsLocksKeepTheModuleLoaded) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(GetClassObject(kClasses, kClass, IID_IClassFactory, &factory), S_OK);
  EXPECT_FALSE(CanUnload());
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_FALSE(CanUnload()) << "a lock outlives the factory that took it";
  ASSERT_EQ(GetClassObject(kClasses, kClass, IID_IClassFactory, &factory), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  ComPtr<IUnknown> object;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &object), S_OK);
  factory.Reset();
  EXPECT_FALSE(CanUnload()) << "the object made by the factory still lives";
  object.Reset();
  EXPECT_TRUE(CanUnload());
}

TEST(ClassFactoryLifetime, RefusedRequestsLeaveNoFactoryBehind) {
  IClassFactory* factory = reinterpret_cast<IClassFactory*>(1);
  EXPECT_EQ(GetClassObject(kClasses, kUnknownClass, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);
  IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(GetClassObject(kClasses, kClass, IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
            E_NOINTERFACE);
  EXPECT_EQ(dispatch, nullptr);
  EXPECT_EQ(GetClassObject(kClasses, kClass, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_TRUE(CanUnload());
}

TEST(ClassFactoryLifetime, AggregationIsRefused) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(GetClassObject(kClasses, kClass, IID_IClassFactory, &factory), S_OK);
  int outer = 0;
  IUnknown* object = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(&outer), IID_IUnknown,
                                    reinterpret_cast<void**>(&object)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  factory.Reset();
  EXPECT_TRUE(CanUnload());
}

}  // namespace
}  // namespace vtq::comkit
