// vtq_script_host [--server DLL]... SCRIPT.vbs
// Runs a VBScript file over the system's VBScript engine with the named
// item Host (host_object.h), for tests of our COM servers and controls
// from a script client that receives their events. Output on standard
// output; exit code 0, the code given to Host.Quit, 1 after a script
// error, 2 when the host itself cannot start.
#include <windows.h>
#include <activscp.h>
#include <wrl/client.h>

#include <string>

#include "base/win/restore_guards.h"
#include "comkit/ref_counted.h"
#include "comkit/tests/script_host/host_object.h"
#include "comkit/tests/script_host/script_output.h"
#include "comkit/tests/script_host/script_site.h"
#include "comkit/tests/script_host/server_classes.h"

namespace {

using Microsoft::WRL::ComPtr;
using vtq::script_host::WriteLine;

constexpr int kHostFailure = 2;

// The script's text: UTF-8 (with or without its mark) or, failing that,
// the ANSI code page.
bool ReadScript(const std::wstring& path, std::wstring* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
    bytes.erase(0, 3);
  UINT codePage = CP_UTF8;
  int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                 static_cast<int>(bytes.size()), nullptr, 0);
  if (size == 0 && !bytes.empty()) {
    codePage = CP_ACP;
    size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  }
  text->assign(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text->data(),
                      size);
  return true;
}

int Run(const vtq::script_host::ServerClasses& servers, const std::wstring& path) {
  std::wstring code;
  if (!ReadScript(path, &code)) {
    WriteLine(L"vtq_script_host: cannot read " + path);
    return kHostFailure;
  }
  CLSID vbscript;
  ComPtr<IActiveScript> script;
  ComPtr<IActiveScriptParse> parse;
  if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript)) ||
      FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript),
                              &script)) ||
      FAILED(script.As(&parse)) || FAILED(parse->InitNew())) {
    WriteLine(L"vtq_script_host: no VBScript engine");
    return kHostFailure;
  }
  ComPtr<vtq::script_host::HostObject> host;
  ComPtr<vtq::script_host::ScriptSite> site;
  if (FAILED((vtq::comkit::CreateObject<vtq::script_host::HostObject>(
          IID_IDispatch, reinterpret_cast<void**>(host.GetAddressOf()), servers, script.Get()))) ||
      FAILED((vtq::comkit::CreateObject<vtq::script_host::ScriptSite>(
          __uuidof(IActiveScriptSite), reinterpret_cast<void**>(site.GetAddressOf()), path,
          static_cast<IDispatch*>(host.Get())))) ||
      FAILED(script->SetScriptSite(site.Get())) ||
      FAILED(script->AddNamedItem(L"Host", SCRIPTITEM_ISVISIBLE))) {
    WriteLine(L"vtq_script_host: cannot start the engine");
    return kHostFailure;
  }
  EXCEPINFO exception = {};
  parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE,
                         nullptr, &exception);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (!site->ErrorSeen() && !host->QuitCode())
    script->SetScriptState(SCRIPTSTATE_CONNECTED);
  // Everything the script made goes before the engine closes.
  host->Disconnect();
  script->Close();
  site->Disconnect();
  if (site->ErrorSeen())
    return 1;
  return host->QuitCode().value_or(0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  vtq::script_host::ServerClasses servers;
  int i = 1;
  for (; i + 1 < argc && lstrcmpW(argv[i], L"--server") == 0; i += 2) {
    if (!servers.Add(argv[i + 1])) {
      WriteLine(std::wstring(L"vtq_script_host: cannot load the server ") + argv[i + 1]);
      return kHostFailure;
    }
  }
  if (i + 1 != argc) {
    WriteLine(L"usage: vtq_script_host [--server DLL]... SCRIPT.vbs");
    return kHostFailure;
  }
  vtq::base::win::ScopedOle ole;
  if (!ole.Initialised()) {
    WriteLine(L"vtq_script_host: OLE cannot start");
    return kHostFailure;
  }
  return Run(servers, argv[i]);
}
