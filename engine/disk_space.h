#pragma once
// How much a drive holds and has free, from the drive queries of the
// platform: the extended query where the system has it, else the cluster
// figures of the older one.

#include <string>

#include "engine/currency.h"
#include "engine/platform/platform.h"

namespace vtq {

// Bytes free for the caller on the drive of `root`; 0 for unknown or none.
Currency DiskFreeSpace(Drives& drives, const std::string& root);
// Total bytes of the drive; 0 for unknown or on 32-bit overflow.
Currency DiskCapacity(Drives& drives, const std::string& root);

}  // namespace vtq
