#include <windows.h>

#include <array>

#include "app/operations/temp_folder.h"

namespace vtq {

std::string TempFolder() {
  std::array<char, kTempPathBuffer> buffer{};
  const DWORD reported = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  return TempFolderFrom(std::string_view(buffer.data(), buffer.size()), reported);
}

}  // namespace vtq
