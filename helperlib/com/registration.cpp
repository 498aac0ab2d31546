#include "helperlib/com/registration.h"

#include <array>

#include "comkit/module_state.h"
#include "comkit/registration.h"
#include "helperlib/com/classes.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace orrin::com {
namespace {

const std::array<vtq::comkit::ClassEntry, 5> kClasses = {{
    {&CLSID_Regging, L"Regging", CreateRegging},
    {&CLSID_OrrinModules, L"OrrinModules", CreateOrrinModules},
    {&CLSID_OrrinCrypting, L"OrrinCrypting", CreateOrrinCrypting},
    {&CLSID_OrrinShell, L"OrrinShell", CreateOrrinShell},
    {&CLSID_FrmTile, L"FrmTile", CreateFrmTile},
}};

const vtq::comkit::ServerDescription kServer{L"OrrinModules32", &LIBID_OrrinModules32, 1, 0,
                                             kClasses};

}  // namespace

std::span<const vtq::comkit::ClassEntry> Classes() {
  return kClasses;
}

HRESULT RegisterServer() {
  return vtq::comkit::RegisterServer(kServer, vtq::comkit::ModulePath());
}

HRESULT UnregisterServer() {
  return vtq::comkit::UnregisterServer(kServer);
}

}  // namespace orrin::com
