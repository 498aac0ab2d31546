#include "app/settings/regging_values.h"

namespace vtq::settings {

std::optional<std::wstring> ReggingValues::Find(std::wstring_view keyPath,
                                                std::wstring_view valueName) {
  return regging_.GetText(HKEY_CURRENT_USER, keyPath, valueName);
}

bool ReggingValues::Write(std::wstring_view keyPath, std::wstring_view valueName,
                          std::wstring_view text) {
  return regging_.SetText(HKEY_CURRENT_USER, keyPath, valueName, text);
}

bool ReggingValues::Remove(std::wstring_view keyPath, std::wstring_view valueName) {
  return regging_.RemoveValue(HKEY_CURRENT_USER, keyPath, valueName);
}

}  // namespace vtq::settings
