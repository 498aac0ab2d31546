// Drives by letter: a root is "X:\", a file's drive its first two characters.

#include <cctype>

#include "engine/assembled_name.h"
#include "engine/platform/path_names.h"

namespace vtq {

extern const char kPathSeparator = '\\';
extern const base::PathStyle kPathStyle = base::PathStyle::kWindows;

std::string DriveRoot(std::string_view drive) {
  std::string root;
  if (!drive.empty()) {
    root.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(drive.front()))));
  }
  return root + ":\\";
}

std::string DriveOfName(std::string_view fullName) {
  return std::string(fullName.substr(0, 2));
}

bool OpensDevice(std::string_view baseName) {
  return IsReservedDeviceName(baseName);
}

}  // namespace vtq
