#include <cstdlib>

#include "app/operations/temp_folder.h"

namespace vtq {

// TMPDIR, or /tmp, without a trailing "/".
std::string TempFolder() {
  const char* set = std::getenv("TMPDIR");
  std::string folder = set != nullptr && *set != '\0' ? set : "/tmp";
  if (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

}  // namespace vtq
