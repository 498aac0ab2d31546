// The library's entry points: DllMain, the class factory, DllCanUnloadNow
// and the registration, all over comkit and the table of registration.cpp.
#include "comkit/com_barrier.h"
#include "comkit/class_factory.h"
#include "comkit/module_state.h"
#include "control/registration.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    vtq::comkit::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return vtq::comkit::ComBarrier(L"DllGetClassObject", [&] {
    return vtq::comkit::GetClassObject(vtq::control::Classes(), clsid, riid, out);
  });
}

STDAPI DllCanUnloadNow() {
  return vtq::comkit::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return vtq::comkit::ComBarrier(L"DllRegisterServer",
                                 [&] { return vtq::control::RegisterServer(); });
}

STDAPI DllUnregisterServer() {
  return vtq::comkit::ComBarrier(L"DllUnregisterServer",
                                 [&] { return vtq::control::UnregisterServer(); });
}

}  // extern "C"
