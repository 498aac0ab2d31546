// Regging: the registry routines of the library, over orrin::Registry,
// and window positions kept in the registry.
#include "base/ansi_text.h"
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/registry.h"
#include "helperlib/core/window_place.h"

namespace orrin::com {
namespace {

HKEY Root(hkeyTypes root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

// Binary data: a byte array as it is, any other value as its text's bytes
// in the ANSI code page.
HRESULT BinaryOf(const VARIANT& value, std::vector<uint8_t>& bytes) {
  vtq::base::win::Variant held;
  if (FAILED(VariantCopyInd(held.Get(), const_cast<VARIANT*>(&value))))
    return DISP_E_TYPEMISMATCH;
  const VARIANT& plain = *held;
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
  return hr;
}

class ReggingObject final : public DispatchObject<_Regging> {
 public:
  STDMETHODIMP RegCreateTree(hkeyTypes lRoot, BSTR sNewSection, VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = Bool(reg_.CreateTree(Root(lRoot), Text(sNewSection)));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"RegCreateTree");
  }

  STDMETHODIMP RegGetValue(hkeyTypes hKey, BSTR sSection, BSTR sKey, VARIANT IsNumber,
                           VARIANT sDefault, VARIANT* result) override try {
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
  } catch (...) {
    return FailUnexpected(L"RegGetValue");
  }

  STDMETHODIMP RegRemoveKey(hkeyTypes hKey, BSTR sSection, BSTR sKey, VARIANT_BOOL* result) override
      try {
    if (!result)
      return E_POINTER;
    *result = Bool(reg_.RemoveValue(Root(hKey), Text(sSection), Text(sKey)));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"RegRemoveKey");
  }

  STDMETHODIMP get_RegLastErr(BSTR* result) override try {
    return ToBstr(reg_.LastError(), result);
  } catch (...) {
    return FailUnexpected(L"RegLastErr");
  }

  STDMETHODIMP RegSetValue(hkeyTypes hKey, BSTR sSection, BSTR sKeyName, VARIANT vValue,
                           VARIANT lValueType, VARIANT_BOOL* result) override try {
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
  } catch (...) {
    return FailUnexpected(L"RegSetValue");
  }

  STDMETHODIMP RegEnumSection(hkeyTypes hKey, BSTR sSection, long iIndex, BSTR* result) override
      try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    if (iIndex < 0)
      return ToBstr(L"", result);
    const auto name = reg_.EnumSection(Root(hKey), Text(sSection), static_cast<DWORD>(iIndex));
    return ToBstr(name.value_or(L""), result);
  } catch (...) {
    return FailUnexpected(L"RegEnumSection");
  }

  STDMETHODIMP RegEnumValues(hkeyTypes hKey, BSTR sSection, long iIndex, VARIANT GetValue,
                             BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<bool> withData;
    if (FAILED(OptionalBool(GetValue, withData)))
      return Fail(DISP_E_TYPEMISMATCH, L"RegEnumValues", L"Type mismatch");
    if (iIndex < 0)
      return ToBstr(L"", result);
    const auto value = reg_.EnumValue(Root(hKey), Text(sSection), static_cast<DWORD>(iIndex));
    if (!value)
      return ToBstr(L"", result);
    return ToBstr(withData.value_or(false) ? value->name + L"," + value->data : value->name,
                  result);
  } catch (...) {
    return FailUnexpected(L"RegEnumValues");
  }

  STDMETHODIMP RegRemoveTree(hkeyTypes hKey, BSTR sSection, VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = Bool(reg_.RemoveTree(Root(hKey), Text(sSection)));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"RegRemoveTree");
  }

  STDMETHODIMP WindowPosSet(IDispatch* xForm, wp_DefPos newPos) override try {
    if (newPos < wp_NoChange || newPos > wp_AlignCenterRight)
      return InvalidArgument(L"WindowPosSet");
    HWND window = nullptr;
    if (FAILED(WindowOf(xForm, window)))
      return NotAForm(L"WindowPosSet");
    MoveToAnchor(window, static_cast<Anchor>(newPos));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"WindowPosSet");
  }

  STDMETHODIMP WindowPosLoad(IDispatch* xForm, BSTR sRegKey, VARIANT DefPos, VARIANT hKey) override
      try {
    std::optional<long> fallback, root;
    if (FAILED(OptionalLong(DefPos, fallback)) || FAILED(OptionalLong(hKey, root)))
      return Fail(DISP_E_TYPEMISMATCH, L"WindowPosLoad", L"Type mismatch");
    const long anchor = fallback.value_or(wp_NoChange);
    if (anchor < wp_NoChange || anchor > wp_AlignCenterRight)
      return InvalidArgument(L"WindowPosLoad");
    HWND window = nullptr;
    if (FAILED(WindowOf(xForm, window)))
      return NotAForm(L"WindowPosLoad");
    LoadWindowPosition(reg_, window, Root(static_cast<hkeyTypes>(root.value_or(kCurrentUser))),
                       Text(sRegKey), static_cast<Anchor>(anchor));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"WindowPosLoad");
  }

  STDMETHODIMP WindowPosSave(IDispatch* xForm, BSTR sRegKey, VARIANT hKey) override try {
    std::optional<long> root;
    if (FAILED(OptionalLong(hKey, root)))
      return Fail(DISP_E_TYPEMISMATCH, L"WindowPosSave", L"Type mismatch");
    HWND window = nullptr;
    if (FAILED(WindowOf(xForm, window)))
      return NotAForm(L"WindowPosSave");
    SaveWindowPosition(reg_, window, Root(static_cast<hkeyTypes>(root.value_or(kCurrentUser))),
                       Text(sRegKey));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"WindowPosSave");
  }

 private:
  static constexpr long kCurrentUser = -2147483647;

  static HRESULT NotAForm(std::wstring_view member) {
    return FailNumber(5, L"OrrinModules32:" + std::wstring(member), kNotAForm);
  }

  Registry reg_;
};

}  // namespace

HRESULT CreateRegging(REFIID riid, void** out) {
  return DispatchObject<_Regging>::Create<ReggingObject>(riid, out);
}

}  // namespace orrin::com
