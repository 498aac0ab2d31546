// Globals: the disk services a container may ask about drives and sizes.
// It has no class entry; the library makes it for its own use.

#include <utility>

#include "comkit/dispatch_object.h"
#include "control/classes.h"
#include "control/com_values.h"
#include "control/interfaces.h"

namespace vtq::control {
namespace {

class GlobalsObject final : public comkit::DispatchObject<::Globals> {
 public:
  explicit GlobalsObject(std::shared_ptr<EngineHost> host) : host_(std::move(host)) {}

  STDMETHODIMP DiskRemovable(BSTR drive, VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = Bool(host_->Engine().DiskRemovable(EngineText(drive))); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP MaxFragSizeSupported(CY* result) override try {
    if (!result)
      return E_POINTER;
    result->int64 = host_->Engine().MaxFragSizeSupported().Scaled();
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP MinFragSizeSupported(short* result) override try {
    if (!result)
      return E_POINTER;
    *result = host_->Engine().MinFragSizeSupported();
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  ~GlobalsObject() override = default;
  std::shared_ptr<EngineHost> host_;
};

}  // namespace

HRESULT MakeGlobals(std::shared_ptr<EngineHost> host, REFIID riid, void** out) {
  return comkit::CreateObject<GlobalsObject>(riid, out, std::move(host));
}

}  // namespace vtq::control
