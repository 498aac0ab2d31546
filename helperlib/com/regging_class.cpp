// Regging: the registry routines of the library, over orrin::Registry.
#include "base/ansi_text.h"
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/registry.h"

namespace orrin::com {
namespace {

HKEY Root(hkeyTypes root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

// Binary data: a byte array as it is, any other value as its text's bytes
// in the ANSI code page.
HRESULT BinaryOf(const VARIANT& value, std::vector<uint8_t>& bytes) {
  VARIANT plain;
  VariantInit(&plain);
  if (FAILED(VariantCopyInd(&plain, const_cast<VARIANT*>(&value))))
    return DISP_E_TYPEMISMATCH;
  HRESULT hr = S_OK;
  if (V_VT(&plain) == (VT_ARRAY | VT_UI1)) {
    SAFEARRAY* array = V_ARRAY(&plain);
    LONG low = 0, high = -1;
    SafeArrayGetLBound(array, 1, &low);
    SafeArrayGetUBound(array, 1, &high);
    void* data = nullptr;
    if (high >= low && SUCCEEDED(SafeArrayAccessData(array, &data))) {
      const auto* first = static_cast<const uint8_t*>(data);
      bytes.assign(first, first + (high - low + 1));
      SafeArrayUnaccessData(array);
    }
  } else {
    std::optional<std::wstring> text;
    hr = OptionalText(plain, text);
    if (SUCCEEDED(hr) && text && !text->empty()) {
      const std::string ansi = vtq::base::ToAnsi(*text);
      bytes.assign(ansi.begin(), ansi.end());
    }
  }
  VariantClear(&plain);
  return hr;
}

class ReggingObject final : public DispatchObject<_Regging> {
 public:
  STDMETHODIMP RegCreateTree(hkeyTypes lRoot, BSTR sNewSection, VARIANT_BOOL* result) override {
    if (!result)
      return E_POINTER;
    *result = Bool(reg_.CreateTree(Root(lRoot), Text(sNewSection)));
    return S_OK;
  }

  STDMETHODIMP RegGetValue(hkeyTypes hKey, BSTR sSection, BSTR sKey, VARIANT IsNumber,
                           VARIANT sDefault, VARIANT* result) override {
    if (!result)
      return E_POINTER;
    VariantInit(result);
    std::optional<bool> number;
    if (FAILED(OptionalBool(IsNumber, number))) {
      return Fail(DISP_E_TYPEMISMATCH, L"RegGetValue", L"Type mismatch");
    }
    const bool asNumber = number.value_or(false);
    if (asNumber) {
      if (const auto value = reg_.GetNumber(Root(hKey), Text(sSection), Text(sKey))) {
        V_VT(result) = VT_I4;
        V_I4(result) = *value;
        return S_OK;
      }
    } else if (const auto text = reg_.GetText(Root(hKey), Text(sSection), Text(sKey))) {
      V_VT(result) = VT_BSTR;
      return ToBstr(*text, &V_BSTR(result));
    }
    if (!IsMissing(sDefault))
      return VariantCopyInd(result, &sDefault);
    if (asNumber) {
      V_VT(result) = VT_I4;
      V_I4(result) = 0;
      return S_OK;
    }
    V_VT(result) = VT_BSTR;
    return ToBstr(L"", &V_BSTR(result));
  }

  STDMETHODIMP RegRemoveKey(hkeyTypes hKey, BSTR sSection, BSTR sKey,
                            VARIANT_BOOL* result) override {
    if (!result)
      return E_POINTER;
    *result = Bool(reg_.RemoveValue(Root(hKey), Text(sSection), Text(sKey)));
    return S_OK;
  }

  STDMETHODIMP get_RegLastErr(BSTR* result) override { return ToBstr(reg_.LastError(), result); }

  STDMETHODIMP RegSetValue(hkeyTypes hKey, BSTR sSection, BSTR sKeyName, VARIANT vValue,
                           VARIANT lValueType, VARIANT_BOOL* result) override {
    if (!result)
      return E_POINTER;
    std::optional<long> type;
    if (FAILED(OptionalLong(lValueType, type))) {
      return Fail(DISP_E_TYPEMISMATCH, L"RegSetValue", L"Type mismatch");
    }
    const HKEY root = Root(hKey);
    const std::wstring section = Text(sSection), name = Text(sKeyName);
    switch (type.value_or(Reg_String)) {
      case Reg_String: {
        std::optional<std::wstring> text;
        if (FAILED(OptionalText(vValue, text))) {
          return Fail(DISP_E_TYPEMISMATCH, L"RegSetValue", L"Type mismatch");
        }
        *result = Bool(reg_.SetText(root, section, name, text.value_or(L"")));
        return S_OK;
      }
      case reg_Long: {
        std::optional<long> number;
        if (FAILED(OptionalLong(vValue, number))) {
          return Fail(DISP_E_TYPEMISMATCH, L"RegSetValue", L"Type mismatch");
        }
        *result = Bool(reg_.SetNumber(root, section, name, number.value_or(0)));
        return S_OK;
      }
      case Reg_Binary: {
        std::vector<uint8_t> bytes;
        if (FAILED(BinaryOf(vValue, bytes))) {
          return Fail(DISP_E_TYPEMISMATCH, L"RegSetValue", L"Type mismatch");
        }
        *result = Bool(reg_.SetBinary(root, section, name, bytes));
        return S_OK;
      }
      default:
        return Fail(E_INVALIDARG, L"RegSetValue", L"Invalid procedure call or argument");
    }
  }

  STDMETHODIMP RegEnumSection(hkeyTypes, BSTR, long, BSTR* result) override {
    if (result)
      *result = nullptr;
    return NotImplemented(L"RegEnumSection");
  }
  STDMETHODIMP RegEnumValues(hkeyTypes, BSTR, long, VARIANT, BSTR* result) override {
    if (result)
      *result = nullptr;
    return NotImplemented(L"RegEnumValues");
  }
  STDMETHODIMP RegRemoveTree(hkeyTypes, BSTR, VARIANT_BOOL* result) override {
    if (result)
      *result = VARIANT_FALSE;
    return NotImplemented(L"RegRemoveTree");
  }
  STDMETHODIMP WindowPosSet(IDispatch*, wp_DefPos) override {
    return NotImplemented(L"WindowPosSet");
  }
  STDMETHODIMP WindowPosLoad(IDispatch*, BSTR, VARIANT, VARIANT) override {
    return NotImplemented(L"WindowPosLoad");
  }
  STDMETHODIMP WindowPosSave(IDispatch*, BSTR, VARIANT) override {
    return NotImplemented(L"WindowPosSave");
  }

 private:
  Registry reg_;
};

}  // namespace

HRESULT CreateRegging(REFIID riid, void** out) {
  return DispatchObject<_Regging>::Create<ReggingObject>(riid, out);
}

}  // namespace orrin::com
