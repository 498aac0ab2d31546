#include "base/win/system_error_text.h"

#include <windows.h>

namespace vtq::base::win {

std::wstring SystemErrorText(unsigned long code) {
  wchar_t buffer[kSystemMessageChars] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, kSystemMessageChars, nullptr);
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n'))
    --length;
  if (length == 0)
    return L"System error " + std::to_wstring(code);
  return std::wstring(buffer, length);
}

}  // namespace vtq::base::win
