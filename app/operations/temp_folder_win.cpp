#include <windows.h>

#include <array>

#include "app/operations/temp_folder.h"
#include "base/utf8_text.h"

namespace vtq {

std::string TempFolder() {
  std::array<wchar_t, kTempPathBuffer> buffer{};
  const DWORD reported = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (reported == 0 || reported > buffer.size())
    return {};
  const std::string folder = base::ToUtf8(std::wstring_view(buffer.data(), reported));
  return TempFolderFrom(folder, static_cast<uint32_t>(folder.size()));
}

}  // namespace vtq
