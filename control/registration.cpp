#include "control/registration.h"

#include <array>

#include "comkit/module_state.h"
#include "comkit/registration.h"
#include "control/classes.h"
#include "control/interfaces.h"

namespace vtq::control {
namespace {

const comkit::ControlDescription kMarrowgateControl{kMarrowgateMiscStatus, kToolboxBitmap};

const std::array<comkit::ClassEntry, 4> kClasses = {{
    {&CLSID_ActiveSplitter, L"ActiveSplitter", CreateActiveSplitter},
    {&CLSID_ActiveAssembler, L"ActiveAssembler", CreateActiveAssembler},
    {&CLSID_Marrowgate, L"Marrowgate", CreateMarrowgate, &kMarrowgateControl},
    {&CLSID_ActiveRecovery, L"ActiveRecovery", CreateActiveRecovery},
}};

// The type library is filed under its English (United States) locale.
const comkit::ServerDescription kServer{
    L"ActiveVantrelloquin",       &LIBID_ActiveVantrelloquin, 3, 0, kClasses,
    MAKELCID(0x409, SORT_DEFAULT)};

}  // namespace

std::span<const comkit::ClassEntry> Classes() {
  return kClasses;
}

HRESULT RegisterServer() {
  return comkit::RegisterServer(kServer, comkit::ModulePath());
}

HRESULT UnregisterServer() {
  return comkit::UnregisterServer(kServer);
}

}  // namespace vtq::control
