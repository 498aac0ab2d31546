// OrrinCrypting: the mask is kept; the routines are declared members that
// are not provided yet.
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

}  // namespace

HRESULT CreateOrrinCrypting(REFIID riid, void** out) {
  return DispatchObject<_OrrinCrypting>::Create<CryptingObject>(riid, out);
}

}  // namespace orrin::com
