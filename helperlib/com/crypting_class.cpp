// OrrinCrypting: masking of texts under a key, over orrin_core.
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/masking.h"

namespace orrin::com {
namespace {

// The masking errors name their own source ("CryptMask"), not a member.
class CryptingObject final : public DispatchObject<_OrrinCrypting> {
 public:
  STDMETHODIMP get_CryptMask(BSTR* result) override try {
    return ToBstr(mask_, result);
  } catch (...) {
    return FailUnexpected(L"CryptMask");
  }
  STDMETHODIMP put_CryptMask(BSTR value) override try {
    const std::wstring mask = Text(value);
    if (const auto fault = CheckMask(mask))
      return FailNumber(fault->number, L"CryptMask", fault->description);
    mask_ = mask;
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"CryptMask");
  }
  STDMETHODIMP KeyHide(BSTR ToHide, BSTR Key, VARIANT* result) override try {
    if (!result)
      return E_POINTER;
    VariantInit(result);
    V_VT(result) = VT_BSTR;
    return ToBstr(orrin::KeyHide(Text(ToHide), Text(Key), mask_), &V_BSTR(result));
  } catch (...) {
    return FailUnexpected(L"KeyHide");
  }
  STDMETHODIMP KeyShow(BSTR ToShow, BSTR Key, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    const auto text = orrin::KeyShow(Text(ToShow), Text(Key), mask_);
    if (!text)
      return FailNumber(5, L"OrrinCrypting:KeyShow", L"Invalid procedure call or argument");
    return ToBstr(*text, result);
  } catch (...) {
    return FailUnexpected(L"KeyShow");
  }

 private:
  std::wstring mask_;
};

}  // namespace

HRESULT CreateOrrinCrypting(REFIID riid, void** out) {
  return DispatchObject<_OrrinCrypting>::Create<CryptingObject>(riid, out);
}

}  // namespace orrin::com
