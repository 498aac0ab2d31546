#include "app/shell/orrin_access.h"

#include <string>

namespace vtq::shell {
namespace {

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

std::wstring BesideProgram(const wchar_t* fileName) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + fileName;
}

}  // namespace

OrrinAccess::~OrrinAccess() {
  regging_.Reset();
  modules_.Reset();
  if (library_)
    FreeLibrary(library_);
}

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
    library_ = LoadLibraryExW(BesideProgram(L"orrinlib.dll").c_str(), nullptr,
                              LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library_)
      return HRESULT_FROM_WIN32(GetLastError());
  }
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library_, "DllGetClassObject")));
  if (!get)
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  Microsoft::WRL::ComPtr<IClassFactory> factory;
  const HRESULT hr = get(clsid, IID_IClassFactory, &factory);
  if (FAILED(hr))
    return hr;
  return factory->CreateInstance(nullptr, iid, out);
}

}  // namespace vtq::shell
