#include "helperlib/core/ini_file.h"

#include <windows.h>

#include <vector>

namespace orrin {

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& file, const std::wstring& fallback) {
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const DWORD length =
        GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), file.c_str());
    // A full buffer (size - 1) may mean a cut value: try again larger.
    if (length + 1 < buffer.size() || buffer.size() >= (1u << 20))
      return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 4);
  }
}

bool WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace orrin
