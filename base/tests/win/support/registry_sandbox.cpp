#include "base/tests/win/support/registry_sandbox.h"

#include <shlwapi.h>

#include <stdexcept>

namespace vtq::test {

RegistrySandbox::RegistrySandbox()
    : path_(L"Software\\Vantrelloquin test sandbox\\" + std::to_wstring(GetCurrentProcessId())) {
  SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &sandbox_, nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, sandbox_) != ERROR_SUCCESS) {
    throw std::runtime_error("registry sandbox unavailable");
  }
}

RegistrySandbox::~RegistrySandbox() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(sandbox_);
  SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
}

bool RegistrySandbox::KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

DWORD RegistrySandbox::TopLevelKeys() {
  DWORD subkeys = 0;
  RegQueryInfoKeyW(HKEY_CURRENT_USER, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr, nullptr);
  return subkeys;
}

}  // namespace vtq::test
