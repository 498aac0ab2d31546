#include <windows.h>

#include "engine/platform/name_case.h"

namespace vtq {

std::string FoldNameCase(std::string_view name) {
  std::string folded(name);
  if (!folded.empty())
    CharLowerBuffA(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

}  // namespace vtq
