#include "comkit/error_info.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <string>

#include "base/utf8_text.h"
#include "base/vb_error.h"

namespace vtq::comkit {

HRESULT Fail(HRESULT hr, std::wstring_view source, std::wstring_view description,
             std::wstring_view helpFile) {
  Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(&create)))
    return hr;
  const std::wstring sourceText(source);
  const std::wstring descriptionText(description);
  create->SetSource(const_cast<LPOLESTR>(sourceText.c_str()));
  create->SetDescription(const_cast<LPOLESTR>(descriptionText.c_str()));
  if (!helpFile.empty()) {
    const std::wstring helpText(helpFile);
    create->SetHelpFile(const_cast<LPOLESTR>(helpText.c_str()));
  }
  Microsoft::WRL::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create.As(&info)))
    SetErrorInfo(0, info.Get());
  return hr;
}

HRESULT HresultOfErrorNumber(int32_t number) {
  if (number < 0)
    return static_cast<HRESULT>(number);
  if (number > 0 && number <= 0xFFFF)
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  return E_FAIL;
}

HRESULT Fail(const VbError& error) {
  return Fail(HresultOfErrorNumber(error.Number()), base::FromUtf8(error.Source()),
              base::FromUtf8(error.Description()));
}

}  // namespace vtq::comkit
