// OrrinShell: declared members that are not provided yet.
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace orrin::com {
namespace {

class ShellObject final : public DispatchObject<_OrrinShell> {
 public:
  STDMETHODIMP ShellGetSystemFolders(long, sh_ShellFolders, BSTR* result) override {
    if (result)
      *result = nullptr;
    return NotImplemented(L"ShellGetSystemFolders");
  }
  STDMETHODIMP ShellCreateLink(BSTR, BSTR, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                               sh_Errors*) override {
    return NotImplemented(L"ShellCreateLink");
  }
  STDMETHODIMP ShellLinkInfos(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                              VARIANT*, sh_Errors*) override {
    return NotImplemented(L"ShellLinkInfos");
  }
};

}  // namespace

HRESULT CreateOrrinShell(REFIID riid, void** out) {
  return DispatchObject<_OrrinShell>::Create<ShellObject>(riid, out);
}

}  // namespace orrin::com
