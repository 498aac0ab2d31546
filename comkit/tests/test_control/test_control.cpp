// The test control's class and the DLL's entry points.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <array>

#include "comkit/activex_control.h"
#include "comkit/class_factory.h"
#include "comkit/connection_point.h"
#include "comkit/module_state.h"
#include "comkit/registration.h"
#include "test_control_h.h"

namespace {

using vtq::comkit::ActiveXControl;
using vtq::comkit::ConnectionPoints;
using vtq::comkit::ControlLook;

constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                              OLEMISC_SETCLIENTSITEFIRST;

// The product control's look, so that the tests check its real numbers.
const ControlLook kLook = {&CLSID_TestControl,
                           {2250, 570},
                           L"Quorvelle ActiveVantrelloquin",
                           {L"MS Sans Serif", 825, true},
                           kMiscStatus};

constexpr DISPID kAsked = 1;
constexpr DISPID kSaid = 2;

class TestControl final : public ActiveXControl<_TestControl, IConnectionPointContainer> {
 public:
  TestControl() : ActiveXControl(kLook) {}

  STDMETHODIMP Ask(short number, VARIANT_BOOL* cancelled) override {
    if (!cancelled)
      return E_POINTER;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    if (!Control().EventsFrozen()) {
      std::array<VARIANT, 2> args = {};
      V_VT(&args[0]) = VT_I2;
      V_I2(&args[0]) = number;
      args[1] = vtq::comkit::ByRef(&cancel);
      vtq::comkit::FireEvent(*points_.Of(DIID___TestControl), kAsked, args);
    }
    *cancelled = cancel;
    return S_OK;
  }

  STDMETHODIMP Say(BSTR text) override {
    if (!Control().EventsFrozen()) {
      std::array<VARIANT, 1> args = {};
      V_VT(&args[0]) = VT_BSTR;
      V_BSTR(&args[0]) = text;  // the caller's, only lent to the sinks
      vtq::comkit::FireEvent(*points_.Of(DIID___TestControl), kSaid, args);
    }
    return S_OK;
  }

  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    return points_.Find(riid, out);
  }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override {
    return points_.Enum(out);
  }

 private:
  ~TestControl() override { points_.UnadviseAll(); }
  ConnectionPoints points_{*this, {DIID___TestControl}};
};

HRESULT CreateTestControl(REFIID riid, void** out) {
  return vtq::comkit::CreateObject<TestControl>(riid, out);
}

const vtq::comkit::ControlDescription kControl = {kMiscStatus, 1};
const std::array<vtq::comkit::ClassEntry, 1> kClasses = {
    {{&CLSID_TestControl, L"TestControl", &CreateTestControl, &kControl}}};
const vtq::comkit::ServerDescription kServer = {L"ComkitTestControl", &LIBID_ComkitTestControl, 1,
                                                0, kClasses};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    vtq::comkit::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return vtq::comkit::GetClassObject(kClasses, clsid, riid, out);
}

STDAPI DllCanUnloadNow() {
  return vtq::comkit::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return vtq::comkit::RegisterServer(kServer, vtq::comkit::ModulePath());
}

STDAPI DllUnregisterServer() {
  return vtq::comkit::UnregisterServer(kServer);
}

}  // extern "C"
