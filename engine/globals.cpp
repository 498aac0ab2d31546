#include "engine/globals.h"

#include "engine/path.h"

namespace vtq {

bool Globals::DiskRemovable(std::string_view drive) {
  switch (platform_.drives.TypeOf(DriveRoot(drive))) {
    case DriveType::kRemovable:
      return true;
    case DriveType::kCdRom:
      platform_.boxes.Show("CD-ROM handler not yet present. Will be treated like hard-disk.",
                           "CDROM Warning", mb::kOk | mb::kIconExclamation);
      return false;
    default:
      return false;
  }
}

}  // namespace vtq
