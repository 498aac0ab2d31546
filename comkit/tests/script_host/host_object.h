#pragma once
// The script's named item "Host":
//   Host.Echo a, b, ...          one line on standard output, the values
//                                 as text separated by blanks
//   Host.CreateObject(progid[, prefix])
//                                 the object (from a --server DLL, else
//                                 from the registry); with a prefix, its
//                                 events call the script's prefix + name
//   Host.Quit [code]              ends the script; the host exits with code
// Quit stops the script by failing with a code of its own, which the site
// does not report; after Quit every member fails the same way, so that a
// script under On Error Resume Next still ends.

#include <windows.h>
#include <activscp.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <vector>

#include "comkit/ref_counted.h"
#include "comkit/tests/script_host/event_connection.h"
#include "comkit/tests/script_host/server_classes.h"

namespace vtq::script_host {

// The failure Quit ends the script with.
constexpr HRESULT kQuitRequested = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0DEF);

class HostObject final : public comkit::RefCounted<IDispatch> {
 public:
  HostObject(const ServerClasses& servers, IActiveScript* script);

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT*) override;

  std::optional<int> QuitCode() const { return quitCode_; }
  // Ends every event connection and lets the script engine go, before the
  // engine closes.
  void Disconnect();

 private:
  ~HostObject() override = default;
  HRESULT Echo(const DISPPARAMS& params);
  HRESULT CreateObject(const DISPPARAMS& params, VARIANT* result);
  HRESULT Quit(const DISPPARAMS& params, EXCEPINFO* exception);

  const ServerClasses& servers_;
  Microsoft::WRL::ComPtr<IActiveScript> script_;
  std::vector<std::unique_ptr<EventConnection>> connections_;
  std::optional<int> quitCode_;
};

}  // namespace vtq::script_host
