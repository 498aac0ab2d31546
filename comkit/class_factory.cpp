#include "comkit/class_factory.h"

#include "comkit/com_barrier.h"
#include "comkit/module_state.h"
#include "comkit/ref_counted.h"

namespace vtq::comkit {
namespace {

class ClassFactory final : public RefCounted<IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) : create_(create) {}

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
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override try {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
  } catch (...) {
    return FailCurrentException(L"CreateInstance");
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ObjectCreated() : ObjectDestroyed();
    return S_OK;
  }

 private:
  ~ClassFactory() override = default;
  CreateFunction create_;
};

}  // namespace

HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID riid,
                       void** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  CreateFunction create = nullptr;
  for (const auto& entry : classes) {
    if (*entry.clsid == clsid) {
      create = entry.create;
      break;
    }
  }
  if (!create)
    return CLASS_E_CLASSNOTAVAILABLE;
  return CreateObject<ClassFactory>(riid, out, create);
}

}  // namespace vtq::comkit
