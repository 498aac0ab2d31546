#include "comkit/tests/test_control_server.h"

namespace vtq::comkit::testing {

namespace {
using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

template <class Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

TestControlServer::TestControlServer() : module_(LoadLibraryW(L"comkit_test_control.dll")) {
  if (!module_)
    return;
  if (auto get = Export<GetClassObject>(module_.Get(), "DllGetClassObject"))
    get(CLSID_TestControl, IID_IClassFactory, reinterpret_cast<void**>(factory_.GetAddressOf()));
}

bool TestControlServer::CanUnload() const {
  auto canUnload = Export<CanUnloadNow>(module_.Get(), "DllCanUnloadNow");
  return canUnload && canUnload() == S_OK;
}

}  // namespace vtq::comkit::testing
