#include "helperlib/core/ini_file.h"

#include <windows.h>

#include <vector>

#include "base/win/handles.h"

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

namespace {

bool CodePageCarries(const std::wstring& text) {
  if (text.empty())
    return true;
  BOOL defaulted = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      nullptr, 0, nullptr, &defaulted);
  return !defaulted;
}

// The system writes a profile file in the ANSI code page unless the file
// begins with the UTF-16 mark; a new file for text that the code page
// cannot carry is begun with the mark, so that the text is kept whole.
// A file that is there keeps the form it has.
void BeginUnicodeFile(const std::wstring& file) {
  if (file.find_first_of(L"\\/:") == std::wstring::npos)
    return;  // the Windows folder's files are the system's own
  const vtq::base::win::FileHandle created(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr,
                                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!created)
    return;
  static const unsigned char kMark[] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(created.Get(), kMark, sizeof kMark, &written, nullptr);
}

}  // namespace

bool WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file) {
  if (!CodePageCarries(section) || !CodePageCarries(key) || !CodePageCarries(value))
    BeginUnicodeFile(file);
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace orrin
