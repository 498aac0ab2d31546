#include "helperlib/core/file_version.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace orrin {

const wchar_t* VersionItemName(VersionItem item) {
  static constexpr const wchar_t* kNames[] = {
      L"CompanyName",    L"FileDescription",  L"FileVersion", L"InternalName",
      L"LegalCopyright", L"OriginalFileName", L"ProductName", L"ProductVersion"};
  return kNames[static_cast<int>(item)];
}

std::wstring FileVersionString(const std::wstring& file, VersionItem item) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0)
    return L"";
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
    return L"";
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &length) ||
      length < sizeof(Translation)) {
    return L"";
  }
  wchar_t path[80];
  swprintf(path, 80, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
           translations->codePage, VersionItemName(item));
  wchar_t* text = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length) || !text)
    return L"";
  std::wstring value(text, length);
  if (const auto nul = value.find(L'\0'); nul != std::wstring::npos)
    value.resize(nul);
  return value;
}

}  // namespace orrin
