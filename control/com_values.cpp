#include "control/com_values.h"

#include <wrl/client.h>

#include "base/utf8_text.h"
#include "base/win/automation_values.h"
#include "comkit/dispatch_object.h"
#include "comkit/error_info.h"

namespace vtq::control {

std::string EngineText(BSTR text) {
  return text ? base::ToUtf8(std::wstring_view(text, SysStringLen(text))) : std::string();
}

HRESULT ToBstr(std::string_view text, BSTR* out) {
  if (!out)
    return E_POINTER;
  const std::wstring wide = base::FromUtf8(text);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::optional<ItemIndex> IndexOf(const VARIANT& arg) {
  base::win::Variant held;
  if (FAILED(VariantCopyInd(held.Get(), const_cast<VARIANT*>(&arg))))
    return std::nullopt;
  VARIANT& value = *held.Get();
  std::optional<ItemIndex> index;
  if (V_VT(&value) == VT_BSTR) {
    index = ItemIndex(EngineText(V_BSTR(&value)));
  } else if (!(V_VT(&value) & VT_ARRAY) && V_VT(&value) != VT_DISPATCH &&
             V_VT(&value) != VT_UNKNOWN && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4))) {
    index = ItemIndex(static_cast<int32_t>(V_I4(&value)));
  }
  return index;
}

HRESULT Fail(const VbError& error) {
  const std::wstring source = error.Source() == kDefaultErrorSource
                                  ? std::wstring(kLibrarySource)
                                  : base::FromUtf8(error.Source());
  return comkit::Fail(comkit::HresultOfErrorNumber(error.Number()), source,
                      base::FromUtf8(error.Description()));
}

HRESULT ClassTypeInfo(REFCLSID clsid, ITypeInfo** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  Microsoft::WRL::ComPtr<ITypeInfo> info = comkit::OwnTypeInfo(clsid);
  if (!info)
    return E_FAIL;
  *out = info.Detach();
  return S_OK;
}

}  // namespace vtq::control
