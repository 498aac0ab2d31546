// No drive letters here: a path stands for the filesystem that holds it.

#include "engine/platform/path_names.h"

namespace vtq {

extern const char kPathSeparator = '/';
extern const base::PathStyle kPathStyle = base::PathStyle::kPosix;

std::string DriveRoot(std::string_view drive) {
  return std::string(drive);
}

std::string DriveOfName(std::string_view fullName) {
  return std::string(fullName);
}

bool OpensDevice(std::string_view) {
  return false;
}

}  // namespace vtq
