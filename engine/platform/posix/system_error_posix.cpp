#include <sys/stat.h>

#include <cerrno>

#include "base/path_parts.h"
#include "engine/platform/system_error.h"

namespace vtq {

namespace {

// A missing file and a missing folder give the same ENOENT; the folder the
// name lives in tells them apart, as the Windows codes do.
bool FolderOfNameMissing(const std::string& name) {
  // The root, and the working folder of a bare name, are there.
  const std::string folder = base::FolderPart(name, base::PathStyle::kPosix);
  if (folder.size() <= 1)
    return false;
  struct stat info {};
  return stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

}  // namespace

SystemErrorCode LastSystemError() {
  return static_cast<SystemErrorCode>(errno);
}

int32_t ClassicFileError(SystemErrorCode code, const std::string& name) {
  switch (static_cast<int>(code)) {
    case ENOENT:
      return FolderOfNameMissing(name) ? err::kPathNotFound : err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case EISDIR:
      return err::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
      return err::kDiskFull;
    case ENOMEM:
      return err::kOutOfMemory;
    case ENAMETOOLONG:
      return err::kBadFileName;
    case EIO:
      return err::kDeviceIo;
    case EEXIST:
      return err::kFileAlreadyExists;
    default:
      return err::kPathFileAccess;
  }
}

}  // namespace vtq
