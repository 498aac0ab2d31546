#include "engine/platform/name_case.h"

namespace vtq {

std::string FoldNameCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

}  // namespace vtq
