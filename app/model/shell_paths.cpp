#include "app/model/shell_paths.h"

#include <algorithm>
#include <cwctype>

namespace vtq::model {

void StripTrailingBackslash(std::wstring& path) {
  if (!path.empty() && path.back() == L'\\')
    path.pop_back();
}

void StripTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() == '\\')
    path.pop_back();
}

std::wstring LastThreeLowered(std::wstring_view path) {
  std::wstring tail(path.substr(path.size() < 3 ? 0 : path.size() - 3));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return tail;
}

PassphraseDialogText PassphraseDialogFor(PassphraseMode mode) {
  if (mode == PassphraseMode::kConfirm) {
    return {L"Password Confirmation",
            L"Before splitting takes place, please retype your password to confirm that you "
            L"have entered it correctly. Passwords are case-sensitive."};
  }
  return {L"Security check",
          L"This fragment series has been encrypted. Please enter the correct password. "
          L"Passwords are case-sensitive."};
}

}  // namespace vtq::model
