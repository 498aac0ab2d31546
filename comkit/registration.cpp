#include "comkit/registration.h"

#include <oleauto.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include "base/win/automation_values.h"
#include "base/win/handles.h"

namespace vtq::comkit {
namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ProgId(const ServerDescription& server, const ClassEntry& entry) {
  return std::wstring(server.libraryName) + L"." + entry.name;
}

std::wstring VersionedProgId(const ServerDescription& server, const ClassEntry& entry) {
  return ProgId(server, entry) + L"." + std::to_wstring(server.major);
}

// The component category of ActiveX controls, which containers list in
// their control toolboxes.
constexpr wchar_t kControlCategory[] = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";

void AddControlEntries(std::vector<RegistryEntry>& entries, const std::wstring& key,
                       const ControlDescription& control, const std::wstring& dllPath) {
  const std::vector<RegistryEntry> added = {
      {key + L"\\Control", L"", L""},
      {key + L"\\Programmable", L"", L""},
      {key + L"\\MiscStatus", L"", L"0"},
      {key + L"\\MiscStatus\\1", L"", std::to_wstring(control.miscStatus)},
      {key + L"\\ToolboxBitmap32", L"", dllPath + L", " + std::to_wstring(control.toolboxBitmap)},
      {key + L"\\Implemented Categories\\" + kControlCategory, L"", L""},
  };
  entries.insert(entries.end(), added.begin(), added.end());
}

HRESULT WriteEntry(HKEY root, const RegistryEntry& entry) {
  base::win::RegKey key;
  LONG rc = RegCreateKeyExW(root, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                            nullptr, key.Receive(), nullptr);
  if (rc == ERROR_SUCCESS && !(entry.name.empty() && entry.value.empty())) {
    rc = RegSetValueExW(key.Get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(entry.value.c_str()),
                        static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
  }
  return HRESULT_FROM_WIN32(rc);
}

}  // namespace

std::vector<RegistryEntry> ClassEntries(const ServerDescription& server, const ClassEntry& entry,
                                        const std::wstring& dllPath) {
  const std::wstring clsid = GuidText(*entry.clsid);
  const std::wstring progId = ProgId(server, entry);
  const std::wstring versioned = VersionedProgId(server, entry);
  const std::wstring key = L"CLSID\\" + clsid;
  std::vector<RegistryEntry> entries = {
      {key, L"", progId},
      {key + L"\\InprocServer32", L"", dllPath},
      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {key + L"\\ProgID", L"", versioned},
      {key + L"\\VersionIndependentProgID", L"", progId},
      {key + L"\\TypeLib", L"", GuidText(*server.libid)},
      {key + L"\\Version", L"",
       std::to_wstring(server.major) + L"." + std::to_wstring(server.minor)},
      {progId, L"", progId},
      {progId + L"\\CLSID", L"", clsid},
      {progId + L"\\CurVer", L"", versioned},
      {versioned, L"", progId},
      {versioned + L"\\CLSID", L"", clsid},
  };
  if (entry.control)
    AddControlEntries(entries, key, *entry.control, dllPath);
  return entries;
}

std::vector<std::wstring> ClassKeys(const ServerDescription& server, const ClassEntry& entry) {
  return {L"CLSID\\" + GuidText(*entry.clsid), ProgId(server, entry),
          VersionedProgId(server, entry)};
}

HRESULT WriteEntries(HKEY root, std::span<const RegistryEntry> entries) {
  for (const auto& entry : entries) {
    if (const HRESULT hr = WriteEntry(root, entry); FAILED(hr))
      return hr;
  }
  return S_OK;
}

HRESULT WriteClasses(HKEY root, const ServerDescription& server, const std::wstring& dllPath) {
  for (const auto& entry : server.classes) {
    if (const HRESULT hr = WriteEntries(root, ClassEntries(server, entry, dllPath)); FAILED(hr))
      return hr;
  }
  return S_OK;
}

void RemoveClasses(HKEY root, const ServerDescription& server) {
  for (const auto& entry : server.classes) {
    for (const auto& key : ClassKeys(server, entry))
      SHDeleteKeyW(root, key.c_str());
  }
}

HRESULT RegisterServer(const ServerDescription& server, const std::wstring& dllPath) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(dllPath.c_str(), REGKIND_NONE, &library);
  if (SUCCEEDED(hr))
    hr = RegisterTypeLib(library.Get(), const_cast<OLECHAR*>(dllPath.c_str()), nullptr);
  if (SUCCEEDED(hr))
    hr = WriteClasses(HKEY_CLASSES_ROOT, server, dllPath);
  if (FAILED(hr))
    UnregisterServer(server);
  return hr;
}

HRESULT UnregisterServer(const ServerDescription& server) {
  RemoveClasses(HKEY_CLASSES_ROOT, server);
  base::win::Bstr registered;
  if (FAILED(QueryPathOfRegTypeLib(*server.libid, server.major, server.minor, server.lcid,
                                   registered.Receive()))) {
    return S_OK;
  }
  // RegisterTypeLib files the library under the platform of the running code.
#ifdef _WIN64
  constexpr SYSKIND kPlatform = SYS_WIN64;
#else
  constexpr SYSKIND kPlatform = SYS_WIN32;
#endif
  return UnRegisterTypeLib(*server.libid, server.major, server.minor, server.lcid, kPlatform);
}

}  // namespace vtq::comkit
