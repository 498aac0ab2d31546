#include "app/settings/orrin_access.h"

#include <string>

#include "base/path_parts.h"
#include "base/win/dyn_calls.h"
#include "base/win/module_path.h"

namespace vtq::settings {
namespace {

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

std::wstring BesideProgram(const wchar_t* fileName) {
  return base::FolderPart(base::win::ModulePath(nullptr)) + fileName;
}

}  // namespace

_Regging* OrrinAccess::Regging() {
  if (!regging_)
    Create(CLSID_Regging, IID__Regging, &regging_);
  return regging_.Get();
}

_OrrinModules* OrrinAccess::Modules() {
  if (!modules_)
    Create(CLSID_OrrinModules, IID__OrrinModules, &modules_);
  return modules_.Get();
}

HRESULT OrrinAccess::Create(REFCLSID clsid, REFIID iid, void** out) {
  if (!out)
    return lastResult_ = E_POINTER;
  *out = nullptr;
  if (routes_ == Routes::kAny) {
    lastResult_ = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
    if (SUCCEEDED(lastResult_)) {
      lastRoute_ = Route::kRegistered;
      return lastResult_;
    }
  }
  lastResult_ = CreateBesideProgram(clsid, iid, out);
  if (SUCCEEDED(lastResult_))
    lastRoute_ = Route::kBesideProgram;
  return lastResult_;
}

HRESULT OrrinAccess::CreateBesideProgram(REFCLSID clsid, REFIID iid, void** out) {
  if (!library_) {
    library_.Reset(LoadLibraryExW(BesideProgram(L"orrinlib.dll").c_str(), nullptr,
                                  LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!library_)
      return HRESULT_FROM_WIN32(GetLastError());
  }
  const auto get = base::win::ProcAddress<GetClassObject>(library_.Get(), "DllGetClassObject");
  if (!get)
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  Microsoft::WRL::ComPtr<IClassFactory> factory;
  const HRESULT hr = get(clsid, IID_IClassFactory, &factory);
  if (FAILED(hr))
    return hr;
  return factory->CreateInstance(nullptr, iid, out);
}

}  // namespace vtq::settings
