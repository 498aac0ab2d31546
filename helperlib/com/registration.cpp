#include "helperlib/com/registration.h"

#include <shlwapi.h>
#include <wrl/client.h>

#include <array>
#include <string>

#include "helperlib/com/classes.h"
#include "helperlib/com/com_support.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace orrin::com {
namespace {

constexpr const wchar_t* kLibraryName = L"OrrinModules32";
constexpr WORD kMajor = 1;
constexpr WORD kMinor = 0;

const std::array<ClassEntry, 5> kClasses = {{
    {&CLSID_Regging, L"Regging", CreateRegging},
    {&CLSID_OrrinModules, L"OrrinModules", CreateOrrinModules},
    {&CLSID_OrrinCrypting, L"OrrinCrypting", CreateOrrinCrypting},
    {&CLSID_OrrinShell, L"OrrinShell", CreateOrrinShell},
    {&CLSID_FrmTile, L"FrmTile", CreateFrmTile},
}};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT SetText(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr);
  if (rc == ERROR_SUCCESS) {
    rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterClass(const ClassEntry& entry, const std::wstring& dll) {
  const std::wstring clsid = GuidText(*entry.clsid);
  const std::wstring progId = std::wstring(kLibraryName) + L"." + entry.name;
  const std::wstring versioned = progId + L"." + std::to_wstring(kMajor);
  const std::wstring key = L"CLSID\\" + clsid;
  const std::pair<std::wstring, std::pair<const wchar_t*, std::wstring>> entries[] = {
      {key, {nullptr, progId}},
      {key + L"\\InprocServer32", {nullptr, dll}},
      {key + L"\\InprocServer32", {L"ThreadingModel", L"Apartment"}},
      {key + L"\\ProgID", {nullptr, versioned}},
      {key + L"\\VersionIndependentProgID", {nullptr, progId}},
      {key + L"\\TypeLib", {nullptr, GuidText(LIBID_OrrinModules32)}},
      {key + L"\\Version", {nullptr, std::to_wstring(kMajor) + L"." + std::to_wstring(kMinor)}},
      {progId, {nullptr, progId}},
      {progId + L"\\CLSID", {nullptr, clsid}},
      {progId + L"\\CurVer", {nullptr, versioned}},
      {versioned, {nullptr, progId}},
      {versioned + L"\\CLSID", {nullptr, clsid}},
  };
  for (const auto& [path, value] : entries) {
    if (const HRESULT hr = SetText(path, value.first, value.second); FAILED(hr))
      return hr;
  }
  return S_OK;
}

void UnregisterClass(const ClassEntry& entry) {
  const std::wstring progId = std::wstring(kLibraryName) + L"." + entry.name;
  SHDeleteKeyW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(*entry.clsid)).c_str());
  SHDeleteKeyW(HKEY_CLASSES_ROOT, progId.c_str());
  SHDeleteKeyW(HKEY_CLASSES_ROOT, (progId + L"." + std::to_wstring(kMajor)).c_str());
}

}  // namespace

std::span<const ClassEntry> Classes() {
  return kClasses;
}

HRESULT RegisterServer() {
  const std::wstring dll = ModulePath();
  Microsoft::WRL::ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(dll.c_str(), REGKIND_NONE, &library);
  if (SUCCEEDED(hr))
    hr = RegisterTypeLib(library.Get(), const_cast<OLECHAR*>(dll.c_str()), nullptr);
  for (const auto& entry : kClasses) {
    if (FAILED(hr))
      break;
    hr = RegisterClass(entry, dll);
  }
  if (FAILED(hr))
    UnregisterServer();
  return hr;
}

HRESULT UnregisterServer() {
  for (const auto& entry : kClasses)
    UnregisterClass(entry);
  // A library that is not registered has nothing left to remove.
  BSTR registered = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(LIBID_OrrinModules32, kMajor, kMinor, LOCALE_NEUTRAL,
                                   &registered))) {
    return S_OK;
  }
  SysFreeString(registered);
  // RegisterTypeLib files the library under the platform of the running code.
#ifdef _WIN64
  constexpr SYSKIND kPlatform = SYS_WIN64;
#else
  constexpr SYSKIND kPlatform = SYS_WIN32;
#endif
  return UnRegisterTypeLib(LIBID_OrrinModules32, kMajor, kMinor, LOCALE_NEUTRAL, kPlatform);
}

}  // namespace orrin::com
