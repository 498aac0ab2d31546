// Drive queries natively: the file system holding a path is its drive. The
// cluster figures are synthesized from statvfs so that the older query's
// arithmetic gives the same bytes as the extended one wherever it can.
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "engine/platform/platform.h"
#include "engine/platform/posix/mount_table.h"

namespace vtq {
namespace {

namespace fs = std::filesystem;

// statfs's f_type of the file systems the drive type depends on.
constexpr decltype(statfs::f_type) kIso9660Magic = 0x9660;
constexpr decltype(statfs::f_type) kUdfMagic = 0x15013346;
constexpr decltype(statfs::f_type) kBtrfsMagic = 0x9123683E;

// The path itself, or its nearest existing ancestor: a file yet to be
// written still lives on the drive of its folder.
std::optional<fs::path> ExistingPathFor(const std::string& text) {
  if (text.empty())
    return std::nullopt;
  std::error_code ec;
  fs::path path = fs::absolute(text, ec);
  if (ec)
    return std::nullopt;
  while (!fs::exists(path, ec)) {
    if (!path.has_relative_path())
      return std::nullopt;
    path = path.parent_path();
  }
  const fs::path canonical = fs::canonical(path, ec);
  return ec ? path : canonical;
}

std::optional<struct statvfs> FileSystemOf(const std::string& text) {
  const auto path = ExistingPathFor(text);
  if (!path)
    return std::nullopt;
  struct statvfs figures {};
  if (statvfs(path->c_str(), &figures) != 0)
    return std::nullopt;
  return figures;
}

uint32_t Clamp32(uint64_t value) {
  return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

bool ReadsOne(const fs::path& flagFile) {
  std::ifstream in(flagFile);
  char flag = '0';
  return in >> flag && flag == '1';
}

// sysfs keeps the removable flag on the whole disk; a partition's flag is
// its parent's.
bool BlockDeviceRemovable(const std::string& device) {
  const fs::path node = fs::path("/sys/dev/block") / device;
  std::error_code ec;
  if (fs::exists(node / "removable", ec))
    return ReadsOne(node / "removable");
  if (fs::exists(node / "partition", ec))
    return ReadsOne(node / ".." / "removable");
  return false;
}

std::string DeviceNumber(dev_t device) {
  return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

// The file system's own number first; some (btrfs) report an anonymous one,
// and then the block device the mount names is the one to ask.
bool MountRemovable(const posix::MountEntry& mount) {
  if (BlockDeviceRemovable(mount.device))
    return true;
  struct stat source {};
  return mount.source.rfind("/dev/", 0) == 0 && stat(mount.source.c_str(), &source) == 0 &&
         S_ISBLK(source.st_mode) && BlockDeviceRemovable(DeviceNumber(source.st_rdev));
}

std::string ReadMountInfo() {
  std::ifstream in("/proc/self/mountinfo");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class PosixDrives final : public Drives {
 public:
  DriveType TypeOf(const std::string& root) override {
    const auto path = ExistingPathFor(root);
    if (!path)
      return DriveType::kNoRootDir;
    struct stat info {};
    if (stat(path->c_str(), &info) != 0)
      return DriveType::kNoRootDir;
    const std::string device = DeviceNumber(info.st_dev);
    // The split and assemble runs ask once per fragment: answer from the
    // file system's own figures where they suffice, and read the mount table
    // only for file systems that hide their block device (btrfs).
    struct statfs kind {};
    if (statfs(path->c_str(), &kind) == 0) {
      if (kind.f_type == kIso9660Magic || kind.f_type == kUdfMagic)
        return DriveType::kCdRom;
      if (major(info.st_dev) != 0)
        return BlockDeviceRemovable(device) ? DriveType::kRemovable : DriveType::kFixed;
      if (kind.f_type != kBtrfsMagic)
        return DriveType::kFixed;
    }
    const auto mount =
        posix::MountHolding(posix::ParseMountInfo(ReadMountInfo()), path->string(), device);
    if (!mount)
      return BlockDeviceRemovable(device) ? DriveType::kRemovable : DriveType::kFixed;
    if (mount->fsType == "iso9660" || mount->fsType == "udf")
      return DriveType::kCdRom;
    return MountRemovable(*mount) ? DriveType::kRemovable : DriveType::kFixed;
  }

  bool HasExtendedFreeSpace() override { return true; }

  std::optional<uint64_t> FreeBytesAvailable(const std::string& root) override {
    const auto figures = FileSystemOf(root);
    if (!figures)
      return std::nullopt;
    return static_cast<uint64_t>(figures->f_bavail) * figures->f_frsize;
  }

  std::optional<ClusterFigures> Clusters(const std::string& root) override {
    const auto figures = FileSystemOf(root);
    if (!figures)
      return std::nullopt;
    const uint64_t blockSize = figures->f_frsize != 0 ? figures->f_frsize : figures->f_bsize;
    ClusterFigures clusters;
    if (blockSize >= 512 && blockSize % 512 == 0) {
      clusters.bytesPerSector = 512;
      clusters.sectorsPerCluster = Clamp32(blockSize / 512);
    } else {
      clusters.bytesPerSector = Clamp32(blockSize);
      clusters.sectorsPerCluster = 1;
    }
    clusters.freeClusters = Clamp32(figures->f_bavail);
    clusters.totalClusters = Clamp32(figures->f_blocks);
    return clusters;
  }
};

}  // namespace

Drives& SystemDrives() {
  static PosixDrives drives;
  return drives;
}

bool IsNtFamily() {
  return false;
}

}  // namespace vtq
