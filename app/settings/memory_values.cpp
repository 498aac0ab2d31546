#include <algorithm>
#include <cwctype>

#include "app/settings/registry_values.h"

namespace vtq::settings {
namespace {

constexpr const wchar_t* kNotFound = L"The system cannot find the file specified.";

std::wstring Folded(std::wstring_view text) {
  if (text.starts_with(L'\\'))
    text.remove_prefix(1);
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return out;
}

}  // namespace

std::optional<std::wstring> MemoryValues::Find(std::wstring_view keyPath,
                                               std::wstring_view valueName) {
  const auto key = keys_.find(Folded(keyPath));
  if (key != keys_.end()) {
    const auto value = key->second.find(Folded(valueName));
    if (value != key->second.end()) {
      lastError_.clear();
      return value->second;
    }
  }
  lastError_ = kNotFound;
  return std::nullopt;
}

bool MemoryValues::Write(std::wstring_view keyPath, std::wstring_view valueName,
                         std::wstring_view text) {
  keys_[Folded(keyPath)][Folded(valueName)] = std::wstring(text);
  lastError_.clear();
  return true;
}

bool MemoryValues::Remove(std::wstring_view keyPath, std::wstring_view valueName) {
  const auto key = keys_.find(Folded(keyPath));
  if (key == keys_.end() || key->second.erase(Folded(valueName)) == 0) {
    lastError_ = kNotFound;
    return false;
  }
  lastError_.clear();
  return true;
}

}  // namespace vtq::settings
