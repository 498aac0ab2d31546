#pragma once
// The program's way to the helper library's classes by class identity: the
// registered COM server first (CoCreateInstance), else the orrinlib.dll in
// the program's own folder through its DllGetClassObject, so that the
// program also runs without installation. The caller initialises COM on
// its thread first. The object keeps one Regging and one OrrinModules
// instance for its life and keeps a library it loaded itself until they
// are released.

#include <windows.h>
#include <wrl/client.h>

#include "base/win/handles.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace vtq::settings {

class OrrinAccess {
 public:
  enum class Route { kRegistered, kBesideProgram };
  // Which routes may be taken; kBesideProgramOnly skips the registration.
  enum class Routes { kAny, kBesideProgramOnly };

  explicit OrrinAccess(Routes routes = Routes::kAny) : routes_(routes) {}
  OrrinAccess(const OrrinAccess&) = delete;
  OrrinAccess& operator=(const OrrinAccess&) = delete;

  // The one instance of each class, created on first use; null when no
  // route gives one (LastResult() then tells why).
  _Regging* Regging();
  _OrrinModules* Modules();

  // A new object of any class of the library, by the routes in order.
  HRESULT Create(REFCLSID clsid, REFIID iid, void** out);

  HRESULT LastResult() const { return lastResult_; }
  // The route the last successful creation took.
  Route LastRoute() const { return lastRoute_; }

 private:
  HRESULT CreateBesideProgram(REFCLSID clsid, REFIID iid, void** out);

  Routes routes_;
  // Before the instances, so that it is freed after they are released.
  vtq::base::win::LoadedModule library_;
  Microsoft::WRL::ComPtr<_Regging> regging_;
  Microsoft::WRL::ComPtr<_OrrinModules> modules_;
  HRESULT lastResult_ = S_OK;
  Route lastRoute_ = Route::kRegistered;
};

}  // namespace vtq::settings
