#pragma once
// Redirects HKEY_CURRENT_USER of the whole test process into a fresh key
// for the life of the object, so that registry tests never see or change
// the user's own entries.

#include <windows.h>

#include <string>

namespace vtq::test {

class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  // True when the key path exists below the (redirected) current user.
  static bool KeyExists(const std::wstring& path);
  // The number of subkeys of the sandbox itself.
  static DWORD TopLevelKeys();

 private:
  std::wstring path_;
  HKEY sandbox_ = nullptr;
};

}  // namespace vtq::test
