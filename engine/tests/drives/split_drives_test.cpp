// The split run on Wine's simulated drives: one fragment per floppy with a
// request for each further disk, a refused disk, a disk too small, a full
// disk that is cleared and retried, and a CD-ROM destination.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/splitter.h"
#include "engine/tests/support/simulated_drive.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

using test::SimulatedDrive;

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// x.bin of 25,000 bytes in raw 10,240-byte fragments: three disks.
class SplitDrivesTest : public ::testing::Test, protected test::SplitterHarness {
 protected:
  SplitDrivesTest() : test::SplitterHarness(test::SplitterDrives::kSystem) {}

  void Prepare(const std::string& destination) {
    test::WriteBytes(dir / "x.bin", test::PatternBytes(25000));
    Configure(splitter, destination);
  }
  // Another splitter (with its own observer) on the same source.
  void Configure(ActiveSplitter& s, const std::string& destination) {
    ASSERT_EQ(s.FilesToSplit().Add(dir / "x.bin"), 0);
    s.SetDestinationFolder(destination);
    s.SetFileFormat(aftRaw);
    int32_t size = 10240;
    s.SetFragmentSize(size);
  }
};

// A disk's capacity is only known when it fits 32 bits: the floppies are
// sized disks, not folders of the build machine's drive.
constexpr uint64_t kFloppy = 1457664;

TEST_F(SplitDrivesTest, EachFragmentGoesOnTheDiskAskedFor) {
  VTQ_REQUIRE_SMALL_DISKS();
  SimulatedDrive a('A', kFloppy);
  Prepare(a.Root());
  struct Swapper : test::RecordingSplitterEvents {
    SimulatedDrive* drive = nullptr;
    void RequireNextDisk(int16_t n, bool& cancel) override {
      RecordingSplitterEvents::RequireNextDisk(n, cancel);
      EXPECT_EQ(drive->InsertNewDisk(), n);
    }
  } swapper;
  swapper.drive = &a;
  ActiveSplitter onFloppies(globals, swapper);
  Configure(onFloppies, a.Root());
  onFloppies.Split();
  EXPECT_EQ(swapper.log, (std::vector<std::string>{"SplitStart(40960)", "SplitInterval(10240)",
                                                   "RequireNextDisk(2)", "SplitInterval(20480)",
                                                   "RequireNextDisk(3)", "SplitInterval(30720)",
                                                   "SplitInterval(40960)"}));
  EXPECT_TRUE(Exists(a.DiskFolder(1) + "x.001"));
  EXPECT_FALSE(Exists(a.DiskFolder(1) + "x.002"));
  EXPECT_TRUE(Exists(a.DiskFolder(2) + "x.002"));
  EXPECT_TRUE(Exists(a.DiskFolder(3) + "x.003"));
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_TRUE(doubles.advisor.asked.empty());
}

TEST_F(SplitDrivesTest, ARefusedDiskEndsTheRunWithTheWrittenFragmentsKept) {
  VTQ_REQUIRE_SMALL_DISKS();
  SimulatedDrive a('A', kFloppy);
  Prepare(a.Root());
  events.diskCancels = {false, true};
  splitter.Split();
  // No disk was changed: both fragments are on the one in the drive.
  EXPECT_TRUE(Exists(a / "x.001"));
  EXPECT_TRUE(Exists(a / "x.002"));
  EXPECT_FALSE(Exists(a / "x.003"));
  ASSERT_FALSE(events.log.empty());
  EXPECT_EQ(events.log.back(), "RequireNextDisk(3)");
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(SplitDrivesTest, ADiskTooSmallEvenFormattedIsRefused) {
  VTQ_REQUIRE_SMALL_DISKS();
  SimulatedDrive a('A', 12288);  // three disks of 12,288 hold 25,000 bytes
  Prepare(a.Root());
  struct Larger : test::RecordingSplitterEvents {
    ActiveSplitter* s = nullptr;
    SimulatedDrive* drive = nullptr;
    void RequireNextDisk(int16_t, bool&) override {
      drive->InsertNewDisk();
      // Two fragments of 20,480 now: two disks of 12,288 are too few.
      int32_t size = 20480;
      s->SetFragmentSize(size);
    }
  } larger;
  ActiveSplitter s(globals, larger);
  larger.s = &s;
  larger.drive = &a;
  Configure(s, a.Root());
  s.Split();
  EXPECT_TRUE(Exists(a.DiskFolder(1) + "x.001"));
  EXPECT_FALSE(Exists(a / "x.002"));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Insufficient disk space");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Please reduce the fragment size or use a larger capacity disk");
}

TEST_F(SplitDrivesTest, AFullDiskIsClearedAndRetried) {
  VTQ_REQUIRE_SMALL_DISKS();
  SimulatedDrive a('A', 12288);
  Prepare(a.Root());
  struct Filler : test::RecordingSplitterEvents {
    SimulatedDrive* drive = nullptr;
    bool giveUp = false;
    void RequireNextDisk(int16_t n, bool& cancel) override {
      RecordingSplitterEvents::RequireNextDisk(n, cancel);
      drive->InsertNewDisk();
      test::WriteBytes(*drive / "old.txt", std::vector<uint8_t>(8192, 1));  // 4,096 left
    }
    void NotEnoughDiskSpace(bool& cancel) override {
      RecordingSplitterEvents::NotEnoughDiskSpace(cancel);
      if (giveUp)
        return;
      DeleteFileA((*drive / "old.txt").c_str());
      cancel = false;
    }
  } filler;
  filler.drive = &a;
  ActiveSplitter s(globals, filler);
  Configure(s, a.Root());
  s.Split();
  EXPECT_EQ(std::count(filler.log.begin(), filler.log.end(), "NotEnoughDiskSpace"), 2);
  EXPECT_TRUE(Exists(a.DiskFolder(3) + "x.003"));
  EXPECT_TRUE(doubles.boxes.shown.empty());

  filler.giveUp = true;
  filler.log.clear();
  a.InsertDisk(1);
  s.Split();
  EXPECT_EQ(std::count(filler.log.begin(), filler.log.end(), "NotEnoughDiskSpace"), 1);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Please free some up on the destination drive and then try again");
}

TEST_F(SplitDrivesTest, ACdRomWarnsAtEveryRemovabilityTest) {
  SimulatedDrive r('R');
  Prepare(r.Root());
  splitter.Split();
  ASSERT_EQ(doubles.boxes.shown.size(), 4u);  // the start check and three fragments
  for (const auto& box : doubles.boxes.shown)
    EXPECT_EQ(box.title, "CDROM Warning");
  EXPECT_TRUE(Exists(r / "x.003"));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "RequireNextDisk(2)"), 0);
}

}  // namespace
}  // namespace vtq
