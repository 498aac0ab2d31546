#pragma once
// Classes of in-process servers the host is pointed at (--server DLL),
// created without the registry: a ProgID "Library.Class" names the class
// entry "Class" of the type library "Library" embedded in one of the
// DLLs, and the DLL's own class factory makes the object.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "base/win/handles.h"

namespace vtq::script_host {

class ServerClasses {
 public:
  ServerClasses() = default;
  ServerClasses(const ServerClasses&) = delete;
  ServerClasses& operator=(const ServerClasses&) = delete;

  // Loads the DLL and its type library; false when either is missing.
  bool Add(const std::wstring& dllPath);

  // S_OK with the object when a server has the class; REGDB_E_CLASSNOTREG
  // when none has it (the caller then asks the registry).
  HRESULT Create(const std::wstring& progId, IDispatch** out) const;

 private:
  struct Server {
    base::win::LoadedModule module;
    Microsoft::WRL::ComPtr<ITypeLib> library;
  };
  std::vector<Server> servers_;
};

}  // namespace vtq::script_host
