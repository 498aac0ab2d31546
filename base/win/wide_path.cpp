#include "base/win/wide_path.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/utf8_text.h"

namespace vtq::base::win {
namespace {

// CreateDirectory stops 12 characters short of MAX_PATH (room for an 8.3
// name inside); every call gets the long form from there on.
constexpr size_t kPlainLimit = MAX_PATH - 12;

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

std::wstring FullPathName(const std::wstring& path) {
  std::vector<wchar_t> buffer(path.size() + MAX_PATH);
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0)
      return path;
    if (length < buffer.size())
      return std::wstring(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

}  // namespace

std::wstring LongPathForm(std::wstring_view path) {
  if (path.size() < kPlainLimit || path.starts_with(kLongPrefix))
    return std::wstring(path);
  std::wstring full(path);
  std::replace(full.begin(), full.end(), L'/', L'\\');
  full = FullPathName(full);
  if (full.starts_with(L"\\\\"))
    return std::wstring(kLongUncPrefix) + full.substr(2);
  return std::wstring(kLongPrefix) + full;
}

std::wstring WidePath(std::string_view utf8) {
  return LongPathForm(FromUtf8(utf8));
}

std::string NameFromSystem(std::wstring_view path) {
  if (path.starts_with(kLongUncPrefix))
    return ToUtf8(L"\\\\" + std::wstring(path.substr(kLongUncPrefix.size())));
  if (path.starts_with(kLongPrefix))
    return ToUtf8(path.substr(kLongPrefix.size()));
  return ToUtf8(path);
}

}  // namespace vtq::base::win
