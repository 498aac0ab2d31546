#include "comkit/tests/script_host/script_site.h"

#include <cwchar>

#include "comkit/tests/script_host/host_object.h"
#include "comkit/tests/script_host/script_output.h"

namespace vtq::script_host {

ScriptSite::ScriptSite(std::wstring fileName, IDispatch* host)
    : fileName_(std::move(fileName)), host_(host) {}

STDMETHODIMP ScriptSite::QueryInterface(REFIID riid, void** out) {
  if (!out)
    return E_POINTER;
  if (riid == IID_IUnknown || riid == __uuidof(IActiveScriptSite)) {
    *out = static_cast<IActiveScriptSite*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ScriptSite::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                     ITypeInfo** info) {
  if (item)
    *item = nullptr;
  if (info)
    *info = nullptr;
  if (!name || lstrcmpiW(name, L"Host") != 0 || !host_)
    return TYPE_E_ELEMENTNOTFOUND;
  if (mask & SCRIPTINFO_IUNKNOWN) {
    if (!item)
      return E_POINTER;
    host_.CopyTo(item);
  }
  return S_OK;
}

STDMETHODIMP ScriptSite::OnScriptError(IActiveScriptError* error) {
  if (!error)
    return E_POINTER;
  EXCEPINFO exception = {};
  error->GetExceptionInfo(&exception);
  if (exception.pfnDeferredFillIn)
    exception.pfnDeferredFillIn(&exception);
  const bool quit = exception.scode == kQuitRequested;
  if (!quit) {
    errorSeen_ = true;
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    error->GetSourcePosition(&context, &line, &column);
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(exception.scode));
    WriteLine(fileName_ + L"(" + std::to_wstring(line + 1) + L", " + std::to_wstring(column + 1) +
              L") " + (exception.bstrSource ? exception.bstrSource : L"") + L": " +
              (exception.bstrDescription ? exception.bstrDescription : L"") + L" (" + code + L")");
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return S_OK;
}

}  // namespace vtq::script_host
