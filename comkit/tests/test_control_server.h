#pragma once
// The test control's DLL as a container meets it: loaded from the tests'
// own folder and asked for its class factory, without the registry.

#include <windows.h>
#include <wrl/client.h>

#include "base/win/handles.h"
#include "test_control_h.h"

namespace vtq::comkit::testing {

class TestControlServer {
 public:
  TestControlServer();
  bool Loaded() const { return factory_ != nullptr; }
  IClassFactory* Factory() const { return factory_.Get(); }
  // A new control, by the interface asked for.
  template <class Interface>
  Microsoft::WRL::ComPtr<Interface> Create(REFIID riid) const {
    Microsoft::WRL::ComPtr<Interface> control;
    if (factory_)
      factory_->CreateInstance(nullptr, riid, reinterpret_cast<void**>(control.GetAddressOf()));
    return control;
  }
  // The factory counts as one of the DLL's objects while it is held.
  void ReleaseFactory() { factory_.Reset(); }
  // The DLL's DllCanUnloadNow: every control, factory and lock is gone.
  bool CanUnload() const;

 private:
  base::win::LoadedModule module_;
  Microsoft::WRL::ComPtr<IClassFactory> factory_;
};

// The look the test control shares with the product's control.
constexpr SIZE kTwips = {2250, 570};
constexpr SIZEL kHimetric = {3969, 1005};
constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                              OLEMISC_SETCLIENTSITEFIRST;

}  // namespace vtq::comkit::testing
