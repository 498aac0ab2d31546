// The native drive layer: finding the mount that holds a path, and the
// figures of a small file system (a tmpfs, when the tests run as root).
#ifndef _WIN32

#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/disk_space.h"
#include "engine/platform/platform.h"
#include "engine/platform/posix/mount_table.h"
#include "engine/tests/support/scratch.h"

namespace vtq {
namespace {

using posix::MountHolding;
using posix::ParseMountInfo;

constexpr const char* kMountInfo =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "27 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
    "30 27 11:0 / /media/cd\\040rom ro,relatime shared:7 master:2 - iso9660 /dev/sr0 ro\n"
    "31 27 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
    "32 31 0:40 / /media/stick rw - tmpfs tmpfs rw,size=1024k\n"
    "garbage line\n"
    "33 27 0:41 / /media/sticky rw - udf /dev/sr1 ro\n";

TEST(MountTable, ParsesPointsTypesAndDevicesDecodingEscapes) {
  const auto mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 6u);
  EXPECT_EQ(mounts[1].mountPoint, "/");
  EXPECT_EQ(mounts[1].fsType, "ext4");
  EXPECT_EQ(mounts[1].device, "254:1");
  EXPECT_EQ(mounts[2].mountPoint, "/media/cd rom");
  EXPECT_EQ(mounts[2].fsType, "iso9660");
  EXPECT_EQ(mounts[2].source, "/dev/sr0");
  EXPECT_EQ(mounts[4].source, "tmpfs");
}

TEST(MountTable, HoldingMountIsTheLongestContainingPoint) {
  const auto mounts = ParseMountInfo(kMountInfo);
  EXPECT_EQ(MountHolding(mounts, "/media/cd rom/setup/x.001")->fsType, "iso9660");
  EXPECT_EQ(MountHolding(mounts, "/media/cd rom")->fsType, "iso9660");
  EXPECT_EQ(MountHolding(mounts, "/media/cd romx")->fsType, "ext4");
  EXPECT_EQ(MountHolding(mounts, "/media/sticky/a")->fsType, "udf");
  EXPECT_EQ(MountHolding(mounts, "/home/user")->device, "254:1");
  EXPECT_FALSE(MountHolding({}, "/home").has_value());
}

TEST(MountTable, LaterMountOnTheSamePointHidesTheEarlier) {
  const auto mounts = ParseMountInfo(kMountInfo);
  EXPECT_EQ(MountHolding(mounts, "/media/stick/f")->fsType, "tmpfs");
  // Knowing the path's own device settles it the same way.
  EXPECT_EQ(MountHolding(mounts, "/media/stick/f", "0:40")->fsType, "tmpfs");
  EXPECT_EQ(MountHolding(mounts, "/media/stick/f", "8:17")->fsType, "vfat");
}

// A 1,457,664-byte tmpfs, which the kernel rounds up to whole 4 KiB pages.
class SmallFileSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0)
      GTEST_SKIP() << "mounting a tmpfs needs root";
    test::MakeFolder(mountPoint);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=1457664") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    mounted = true;
  }
  void TearDown() override {
    if (mounted)
      umount2(mountPoint.c_str(), MNT_DETACH);
  }
  test::ScratchDir scratch;
  std::string mountPoint = scratch / "disk";
  bool mounted = false;
};

TEST_F(SmallFileSystem, FiguresOfBothQueriesAgree) {
  Drives& drives = SystemDrives();
  EXPECT_EQ(drives.TypeOf(mountPoint), DriveType::kFixed);
  EXPECT_EQ(drives.FreeBytesAvailable(mountPoint), 1458176u);
  const auto clusters = drives.Clusters(mountPoint + "/fragment.001");
  ASSERT_TRUE(clusters.has_value());
  EXPECT_EQ(clusters->bytesPerSector, 512u);
  EXPECT_EQ(clusters->sectorsPerCluster, 8u);
  EXPECT_EQ(clusters->totalClusters, 356u);
  EXPECT_EQ(clusters->freeClusters, 356u);
  EXPECT_EQ(DiskFreeSpace(drives, mountPoint).Whole(), 1458176);
  EXPECT_EQ(DiskCapacity(drives, mountPoint).Whole(), 1458176);

  test::WriteBytes(mountPoint + "/data", test::PatternBytes(10000));
  EXPECT_EQ(drives.FreeBytesAvailable(mountPoint), 1458176u - 3 * 4096);
  EXPECT_EQ(DiskCapacity(drives, mountPoint).Whole(), 1458176);
}

TEST_F(SmallFileSystem, TheLiveMountTableNamesItsMount) {
  std::ifstream in("/proc/self/mountinfo");
  const std::string table(std::istreambuf_iterator<char>(in), {});
  const std::string canonical = std::filesystem::canonical(mountPoint).string();
  struct stat info {};
  ASSERT_EQ(stat(canonical.c_str(), &info), 0);
  const std::string device =
      std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
  const auto mount = MountHolding(ParseMountInfo(table), canonical + "/x.001", device);
  ASSERT_TRUE(mount.has_value());
  EXPECT_EQ(mount->fsType, "tmpfs");
  EXPECT_EQ(mount->mountPoint, canonical);
  EXPECT_EQ(mount->device, device);
}

}  // namespace
}  // namespace vtq

#endif
