#include <windows.h>

#include "base/utf8_text.h"
#include "engine/platform/name_case.h"

namespace vtq {

std::string FoldNameCase(std::string_view name) {
  std::wstring folded = base::FromUtf8(name);
  if (!folded.empty())
    CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return base::ToUtf8(folded);
}

}  // namespace vtq
