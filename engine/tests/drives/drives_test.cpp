// The Win32 drive layer against Wine's simulated drives: real drive types,
// the figures of a small disk through both queries, and disk changes.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/disk_space.h"
#include "engine/globals.h"
#include "engine/platform/platform.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/simulated_drive.h"

namespace vtq {
namespace {

using test::SimulatedDrive;

// A 1.44 MB floppy as tmpfs makes it: rounded up to whole 4 KiB pages.
constexpr uint64_t kFloppyBytes = 1457664;
constexpr uint64_t kFloppyOnTmpfs = 1458176;

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(SimulatedDrives, LettersHaveTheirRealTypes) {
  const SimulatedDrive floppyA('A'), floppyB('b'), cdrom('R'), fixed('H');
  Drives& drives = SystemDrives();
  EXPECT_EQ(drives.TypeOf("A:\\"), DriveType::kRemovable);
  EXPECT_EQ(drives.TypeOf("B:\\"), DriveType::kRemovable);
  EXPECT_EQ(drives.TypeOf("R:\\"), DriveType::kCdRom);
  EXPECT_EQ(drives.TypeOf("H:\\"), DriveType::kFixed);
  EXPECT_EQ(drives.TypeOf("C:\\"), DriveType::kFixed);
  EXPECT_EQ(drives.TypeOf("Q:\\"), DriveType::kNoRootDir);
}

TEST(SimulatedDrives, DiskRemovableOnRealDrives) {
  const SimulatedDrive floppy('A'), cdrom('R'), fixed('H');
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals(platform);
  EXPECT_TRUE(globals.DiskRemovable("a:\\fragments"));
  EXPECT_FALSE(globals.DiskRemovable("H:"));
  EXPECT_FALSE(globals.DiskRemovable("c"));
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_FALSE(globals.DiskRemovable("r"));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "CDROM Warning");
}

TEST(SimulatedDrives, FilesWrittenToTheLetterLandOnTheDisk) {
  SimulatedDrive floppy('B');
  test::WriteText(floppy / "part.001", "first disk");
  EXPECT_EQ(floppy.CurrentDisk(), 1);
  EXPECT_TRUE(Exists(floppy.DiskFolder(1) + "part.001"));
  EXPECT_EQ(floppy.InsertNewDisk(), 2);
  EXPECT_FALSE(Exists(floppy / "part.001"));
  test::WriteText(floppy / "part.002", "second disk");
  floppy.InsertDisk(1);
  EXPECT_EQ(test::ReadBytes(floppy / "part.001").size(), 10u);
  EXPECT_FALSE(Exists(floppy / "part.002"));
  EXPECT_TRUE(Exists(floppy.DiskFolder(2) + "part.002"));
  EXPECT_EQ(floppy.DiskCount(), 2);
}

TEST(SimulatedDrives, EmptyDriveAnswersNoFigures) {
  SimulatedDrive floppy('A');
  floppy.Eject();
  EXPECT_EQ(floppy.CurrentDisk(), 0);
  EXPECT_FALSE(SystemDrives().FreeBytesAvailable("A:\\").has_value());
  EXPECT_FALSE(SystemDrives().Clusters("A:\\").has_value());
  EXPECT_EQ(DiskFreeSpace(SystemDrives(), "A:\\"), Currency());
  EXPECT_EQ(DiskCapacity(SystemDrives(), "A:\\"), Currency());
  EXPECT_EQ(SystemDrives().TypeOf("A:\\"), DriveType::kRemovable);
}

std::vector<std::string> Names(const std::string& pattern, bool* enumerated) {
  std::vector<std::string> names;
  *enumerated = SystemFolders().Enumerate(pattern, [&](const FindEntry& entry) {
    names.emplace_back(entry.name.data(), strnlen(entry.name.data(), entry.name.size()));
  });
  return names;
}

TEST(SimulatedDrives, DiskRootsListNoDotEntriesAndAnEmptyOneIsStillRead) {
  SimulatedDrive floppy('A');
  bool enumerated = false;
  EXPECT_TRUE(Names("A:\\*", &enumerated).empty());
  EXPECT_TRUE(enumerated);
  test::WriteText(floppy / "x.001", "x");
  EXPECT_EQ(Names("A:\\*", &enumerated), std::vector<std::string>{"x.001"});
  EXPECT_TRUE(enumerated);
  floppy.Eject();
  EXPECT_TRUE(Names("A:\\*", &enumerated).empty());
  EXPECT_FALSE(enumerated);
}

TEST(SmallDisks, FloppyFiguresThroughBothQueries) {
  VTQ_REQUIRE_SMALL_DISKS();
  const SimulatedDrive floppy('A', kFloppyBytes);
  Drives& drives = SystemDrives();
  ASSERT_TRUE(drives.HasExtendedFreeSpace());
  EXPECT_EQ(drives.FreeBytesAvailable("A:\\"), kFloppyOnTmpfs);
  const auto clusters = drives.Clusters("A:\\");
  ASSERT_TRUE(clusters.has_value());
  EXPECT_EQ(
      uint64_t{clusters->sectorsPerCluster} * clusters->bytesPerSector * clusters->totalClusters,
      kFloppyOnTmpfs);
  EXPECT_EQ(clusters->freeClusters, clusters->totalClusters);
  EXPECT_EQ(DiskFreeSpace(drives, "A:\\").Whole(), 1458176);
  EXPECT_EQ(DiskCapacity(drives, "A:\\").Whole(), 1458176);

  // A 1,000-byte file takes a whole page; the capacity stays.
  test::WriteBytes(floppy / "small.001", test::PatternBytes(1000));
  EXPECT_EQ(DiskFreeSpace(drives, "A:\\").Whole(), 1458176 - 4096);
  EXPECT_EQ(DiskCapacity(drives, "A:\\").Whole(), 1458176);
}

// The real drives as a system without GetDiskFreeSpaceExA sees them.
class OlderSystemDrives final : public Drives {
 public:
  DriveType TypeOf(const std::string& root) override { return SystemDrives().TypeOf(root); }
  bool HasExtendedFreeSpace() override { return false; }
  std::optional<uint64_t> FreeBytesAvailable(const std::string&) override { return std::nullopt; }
  std::optional<ClusterFigures> Clusters(const std::string& root) override {
    return SystemDrives().Clusters(root);
  }
};

TEST(SmallDisks, FreeSpaceFallsBackToClustersWithoutTheExtendedQuery) {
  VTQ_REQUIRE_SMALL_DISKS();
  const SimulatedDrive floppy('A', kFloppyBytes);
  OlderSystemDrives older;
  EXPECT_EQ(DiskFreeSpace(older, "A:\\").Whole(), 1458176);
  test::WriteBytes(floppy / "part.001", test::PatternBytes(730112));
  EXPECT_EQ(DiskFreeSpace(older, "A:\\").Whole(), 1458176 - 729088 - 4096);
  EXPECT_EQ(DiskFreeSpace(older, "A:\\"), DiskFreeSpace(SystemDrives(), "A:\\"));
}

TEST(SmallDisks, DiskChangeIsSeenByTheNextQuery) {
  VTQ_REQUIRE_SMALL_DISKS();
  SimulatedDrive floppy('A', kFloppyBytes);
  Drives& drives = SystemDrives();
  test::WriteBytes(floppy / "big.001", test::PatternBytes(1400000));
  const int64_t fullDisk = DiskFreeSpace(drives, "A:\\").Whole();
  EXPECT_LT(fullDisk, 60000);
  floppy.InsertNewDisk();
  EXPECT_EQ(DiskFreeSpace(drives, "A:\\").Whole(), 1458176);
  floppy.InsertDisk(1);
  EXPECT_EQ(DiskFreeSpace(drives, "A:\\").Whole(), fullDisk);
}

TEST(SmallDisks, SizedCdRomAndFixedDisks) {
  VTQ_REQUIRE_SMALL_DISKS();
  const SimulatedDrive cdrom('R', 730112), fixed('H', 2097152);
  EXPECT_EQ(SystemDrives().TypeOf("R:\\"), DriveType::kCdRom);
  EXPECT_EQ(SystemDrives().FreeBytesAvailable("R:\\"), 733184u);
  EXPECT_EQ(SystemDrives().FreeBytesAvailable("H:\\"), 2097152u);
}

}  // namespace
}  // namespace vtq

namespace vtq {
namespace {

DWORD CreateError(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return GetLastError();
  CloseHandle(file);
  return ERROR_SUCCESS;
}

// Wine answers a write to a read-only mount with ERROR_ACCESS_DENIED.
TEST(SmallDisks, WriteProtectedDisksRefuseWritesButRead) {
  VTQ_REQUIRE_SMALL_DISKS();
  for (const uint64_t size : {kFloppyBytes, uint64_t{0}}) {
    SimulatedDrive floppy('B', size);
    test::WriteText(floppy / "kept.001", "kept");
    floppy.SetWriteProtected(1, true);
    EXPECT_EQ(CreateError(floppy / "new.002"), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << size;
    EXPECT_EQ(test::ReadBytes(floppy / "kept.001").size(), 4u);
    floppy.InsertNewDisk();
    EXPECT_EQ(CreateError(floppy / "new.002"), static_cast<DWORD>(ERROR_SUCCESS));
    floppy.InsertDisk(1);
    floppy.SetWriteProtected(1, false);
    EXPECT_EQ(CreateError(floppy / "new.002"), static_cast<DWORD>(ERROR_SUCCESS));
  }
}

}  // namespace
}  // namespace vtq
