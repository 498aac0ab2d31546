#pragma once
// The mount table as /proc/self/mountinfo gives it, reduced to what the drive
// queries need: which mount holds a path, its file system type and device.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtq::posix {

struct MountEntry {
  std::string device;      // "major:minor" of the file system
  std::string mountPoint;  // octal escapes (\040 ...) decoded
  std::string fsType;
  std::string source;  // "/dev/sdb1", "tmpfs", ...
};

std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The entry of the mount that holds `canonicalPath` (an absolute path with
// no links): the longest mount point that contains it, preferring entries
// of the path's own device when one is known.
std::optional<MountEntry> MountHolding(const std::vector<MountEntry>& mounts,
                                       std::string_view canonicalPath,
                                       std::string_view device = {});

}  // namespace vtq::posix
