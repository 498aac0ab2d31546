#include "comkit/tests/script_host/server_classes.h"

namespace vtq::script_host {

using Microsoft::WRL::ComPtr;

namespace {

std::wstring NameOf(ITypeLib* library, INT index) {
  BSTR name = nullptr;
  std::wstring text;
  if (SUCCEEDED(library->GetDocumentation(index, &name, nullptr, nullptr, nullptr)) && name)
    text = name;
  SysFreeString(name);
  return text;
}

// The CLSID of the class entry `name` in `library`.
bool FindClass(ITypeLib* library, const std::wstring& name, CLSID* clsid) {
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    TYPEKIND kind;
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS ||
        lstrcmpiW(NameOf(library, static_cast<INT>(i)).c_str(), name.c_str()) != 0) {
      continue;
    }
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(library->GetTypeInfo(i, &info)) && SUCCEEDED(info->GetTypeAttr(&attr))) {
      *clsid = attr->guid;
      info->ReleaseTypeAttr(attr);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ServerClasses::Add(const std::wstring& dllPath) {
  Server server;
  server.module.Reset(LoadLibraryW(dllPath.c_str()));
  if (!server.module || FAILED(LoadTypeLibEx(dllPath.c_str(), REGKIND_NONE, &server.library)))
    return false;
  servers_.push_back(std::move(server));
  return true;
}

HRESULT ServerClasses::Create(const std::wstring& progId, IDispatch** out) const {
  const size_t dot = progId.find(L'.');
  if (dot == std::wstring::npos)
    return REGDB_E_CLASSNOTREG;
  const std::wstring libraryName = progId.substr(0, dot);
  std::wstring className = progId.substr(dot + 1);
  className = className.substr(0, className.find(L'.'));  // "Library.Class.1"
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  for (const auto& server : servers_) {
    CLSID clsid;
    if (lstrcmpiW(NameOf(server.library.Get(), -1).c_str(), libraryName.c_str()) != 0 ||
        !FindClass(server.library.Get(), className, &clsid)) {
      continue;
    }
    const auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(server.module.Get(), "DllGetClassObject")));
    if (!get)
      return E_FAIL;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = get(clsid, IID_IClassFactory, &factory);
    if (FAILED(hr))
      return hr;
    return factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(out));
  }
  return REGDB_E_CLASSNOTREG;
}

}  // namespace vtq::script_host
