// OrrinCrypting, OrrinShell and FrmTile: their properties are kept; their
// routines are declared members that are not provided yet.
#include <set>

#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace orrin::com {
namespace {

// The masking errors name their own source ("CryptMask"), not a member.
class CryptingObject final : public DispatchObject<_OrrinCrypting> {
 public:
  STDMETHODIMP get_CryptMask(BSTR* result) override { return ToBstr(mask_, result); }
  STDMETHODIMP put_CryptMask(BSTR value) override {
    const std::wstring mask = Text(value);
    if (!mask.empty() && mask.size() < 16) {
      return FailWithSource(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 1001), L"CryptMask",
                            L"The mask for en/decryption MUST be at least 16 characters long!");
    }
    std::set<wchar_t> seen;
    for (wchar_t c : mask) {
      if (!seen.insert(c).second) {
        return FailWithSource(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 1002), L"CryptMask",
                              L"The character '" + std::wstring(1, c) +
                                  L"' in the CryptMask string occured more than once! Change the "
                                  L"string and reassign it to CryptMask.");
      }
    }
    mask_ = mask;
    return S_OK;
  }
  STDMETHODIMP KeyHide(BSTR, BSTR, VARIANT* result) override {
    if (result)
      VariantInit(result);
    return NotImplemented(L"KeyHide");
  }
  STDMETHODIMP KeyShow(BSTR, BSTR, BSTR* result) override {
    if (result)
      *result = nullptr;
    return NotImplemented(L"KeyShow");
  }

 private:
  std::wstring mask_;
};

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

class TileObject final : public DispatchObject<_FrmTile> {
 public:
  STDMETHODIMP get_xAmount(short* result) override { return Get(x_, result); }
  STDMETHODIMP put_xAmount(short value) override { return Put(x_, value); }
  STDMETHODIMP get_yAmount(short* result) override { return Get(y_, result); }
  STDMETHODIMP put_yAmount(short value) override { return Put(y_, value); }
  STDMETHODIMP get_ofForm(IDispatch** result) override {
    if (!result)
      return E_POINTER;
    form_.CopyTo(result);
    return S_OK;
  }
  STDMETHODIMP putref_ofForm(IDispatch* value) override {
    form_ = value;
    return S_OK;
  }

 private:
  static HRESULT Get(short field, short* result) {
    if (!result)
      return E_POINTER;
    *result = field;
    return S_OK;
  }
  static HRESULT Put(short& field, short value) {
    field = value;
    return S_OK;
  }
  short x_ = 0;
  short y_ = 0;
  Microsoft::WRL::ComPtr<IDispatch> form_;
};

}  // namespace

HRESULT CreateOrrinCrypting(REFIID riid, void** out) {
  return DispatchObject<_OrrinCrypting>::Create<CryptingObject>(riid, out);
}
HRESULT CreateOrrinShell(REFIID riid, void** out) {
  return DispatchObject<_OrrinShell>::Create<ShellObject>(riid, out);
}
HRESULT CreateFrmTile(REFIID riid, void** out) {
  return DispatchObject<_FrmTile>::Create<TileObject>(riid, out);
}

}  // namespace orrin::com
