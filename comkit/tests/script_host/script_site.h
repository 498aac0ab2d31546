#pragma once
// The host's side of the script engine: the named item "Host", and script
// errors reported on standard output as
//   <file>(<line>, <column>) <source>: <description>
// (line and column counted from 1). The Quit failure is no error.

#include <windows.h>
#include <activscp.h>
#include <wrl/client.h>

#include <string>

#include "comkit/ref_counted.h"

namespace vtq::script_host {

class ScriptSite final : public comkit::RefCounted<IActiveScriptSite> {
 public:
  ScriptSite(std::wstring fileName, IDispatch* host);

  bool ErrorSeen() const { return errorSeen_; }
  // Lets the named item go, before the engine closes.
  void Disconnect() { host_.Reset(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP GetLCID(LCID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
  STDMETHODIMP GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* error) override;
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

 private:
  ~ScriptSite() override = default;

  const std::wstring fileName_;
  Microsoft::WRL::ComPtr<IDispatch> host_;
  bool errorSeen_ = false;
};

}  // namespace vtq::script_host
