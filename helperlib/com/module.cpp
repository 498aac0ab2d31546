// The DLL's entry points: DllMain, the class factory and DllCanUnloadNow.
#include <new>

#include "helperlib/com/classes.h"
#include "helperlib/com/com_support.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/com/registration.h"

namespace orrin::com {
namespace {

using CreateFunction = HRESULT (*)(REFIID, void**);

CreateFunction CreatorOf(REFCLSID clsid) {
  for (const auto& entry : Classes()) {
    if (*entry.clsid == clsid)
      return entry.create;
  }
  return nullptr;
}

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateFunction create) : create_(create) { ObjectCreated(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0)
      delete this;
    return left;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ObjectCreated() : ObjectDestroyed();
    return S_OK;
  }

 private:
  ~ClassFactory() { ObjectDestroyed(); }
  LONG refs_ = 1;
  CreateFunction create_;
};

}  // namespace
}  // namespace orrin::com

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    orrin::com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  const auto create = orrin::com::CreatorOf(clsid);
  if (!create)
    return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) orrin::com::ClassFactory(create);
  if (!factory)
    return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  return orrin::com::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return orrin::com::RegisterServer();
}

STDAPI DllUnregisterServer() {
  return orrin::com::UnregisterServer();
}

}  // extern "C"
