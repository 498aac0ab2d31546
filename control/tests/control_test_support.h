#pragma once
// What the library's tests share: the built Marrowgate32.ocx loaded as a
// container loads it, objects made in-process on a host of doubles, and a
// C++ event sink that writes events down and answers by-reference Cancel.

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win/restore_guards.h"
#include "comkit/event_sink.h"
#include "comkit/ref_counted.h"
#include "control/classes.h"
#include "control/engine_host.h"
#include "control/interfaces.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq::control::test {

using Microsoft::WRL::ComPtr;

// Marrowgate32.ocx from the programs' folder, through its own exports.
class Library {
 public:
  Library() : module_(LoadLibraryW(L"Marrowgate32.ocx")) {}
  ~Library() {
    if (module_)
      FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  HRESULT Factory(REFCLSID clsid, REFIID riid, void** out) const {
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    return get ? get(clsid, riid, out) : E_FAIL;
  }
  template <class T>
  ComPtr<T> Create(REFCLSID clsid) const {
    ComPtr<IClassFactory> factory;
    ComPtr<T> object;
    if (SUCCEEDED(Factory(clsid, IID_IClassFactory, &factory)))
      factory->CreateInstance(nullptr, __uuidof(T), &object);
    return object;
  }
  HRESULT CanUnloadNow() const {
    auto can = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    return can ? can() : E_FAIL;
  }
  std::wstring Path() const {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module_, path, MAX_PATH);
    return path;
  }

 private:
  HMODULE module_;
};

// An engine host over recorded boxes, on the system's drives or on
// scripted ones (files are real either way).
enum class Drives { kSystem, kScripted };
struct DoublesHost {
  explicit DoublesHost(Drives drives = Drives::kSystem)
      : platform(drives == Drives::kSystem ? doubles.Real() : doubles.Fake()),
        host(std::make_shared<EngineHost>(platform)) {}
  vtq::test::TestPlatform doubles;
  Platform platform;
  std::shared_ptr<EngineHost> host;
  std::vector<vtq::test::ShownBox>& Boxes() { return doubles.boxes.shown; }
  // The scripted drive that holds `name`.
  vtq::test::FakeDrives::Drive& DriveOf(const std::string& name) {
    return doubles.fakeDrives.drives[DriveRoot(name)];
  }
};

template <class T>
ComPtr<T> Make(HRESULT (*make)(std::shared_ptr<EngineHost>, REFIID, void**),
               const std::shared_ptr<EngineHost>& host) {
  ComPtr<T> object;
  make(host, __uuidof(T), &object);
  return object;
}

class Bstr {
 public:
  explicit Bstr(const std::string& text) : value_(SysAllocString(Wide(text).c_str())) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return value_; }
  BSTR* Out() { return &value_; }
  std::string Text() const {
    std::string text;
    for (const wchar_t* c = value_; c && *c; ++c)
      text += static_cast<char>(*c);
    return text;
  }
  static std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
  }

 private:
  BSTR value_ = nullptr;
};

inline VARIANT Position(int32_t position) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = position;
  return v;
}

// One event as a sink received it: its number and its arguments in
// declaration order (a by-reference Boolean as its value on arrival).
struct Received {
  DISPID event;
  std::vector<VARTYPE> types;
  std::vector<long> values;
};

// A sink of one event interface. `answer` may set a by-reference Cancel:
// it gets the event and the variable.
class RecordingSink final : public comkit::EventSink {
 public:
  explicit RecordingSink(REFIID events) : EventSink(events) {}

  std::vector<Received> received;
  std::function<void(DISPID, VARIANT_BOOL&)> answer;

  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    Received event{member, {}, {}};
    for (UINT i = params->cArgs; i-- > 0;) {
      VARIANT& arg = params->rgvarg[i];
      event.types.push_back(V_VT(&arg));
      switch (V_VT(&arg)) {
        case VT_I2:
          event.values.push_back(V_I2(&arg));
          break;
        case VT_I4:
          event.values.push_back(V_I4(&arg));
          break;
        case VT_BOOL | VT_BYREF:
          event.values.push_back(*V_BOOLREF(&arg));
          if (answer)
            answer(member, *V_BOOLREF(&arg));
          break;
        default:
          event.values.push_back(0);
      }
    }
    received.push_back(event);
    return S_OK;
  }

  // The sink made and advised on `source`'s point for its interface.
  static ComPtr<RecordingSink> AdvisedOn(IUnknown* source, REFIID events, DWORD* cookie = nullptr) {
    ComPtr<IDispatch> made;
    comkit::CreateObject<RecordingSink>(IID_IDispatch, &made, events);
    ComPtr<RecordingSink> sink(static_cast<RecordingSink*>(made.Get()));
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    DWORD ignored = 0;
    EXPECT_HRESULT_SUCCEEDED(source->QueryInterface(IID_PPV_ARGS(&container)));
    EXPECT_HRESULT_SUCCEEDED(container->FindConnectionPoint(events, &point));
    EXPECT_HRESULT_SUCCEEDED(point->Advise(made.Get(), cookie ? cookie : &ignored));
    return sink;
  }

  std::vector<DISPID> Events() const {
    std::vector<DISPID> events;
    for (const Received& event : received)
      events.push_back(event.event);
    return events;
  }

 private:
  ~RecordingSink() override = default;
};

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.Initialised()); }

 private:
  const base::win::ScopedCom com_;
};

}  // namespace vtq::control::test
