// The split run's disk handling on fake drives: the start check, the
// request for each further removable disk, a disk too small, a full disk and
// its retries, and the CD-ROM warning at every removability test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/splitter.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

class SplitDisksTest : public ::testing::Test, protected test::SplitterHarness {
 protected:
  void SetUp() override {
    splitter.SetDestinationFolder(dir.Path());
    splitter.SetFileFormat(aftRaw);
    SetFragmentSize(10240);
    test::MakeFolder(dir / "in");
    test::WriteBytes(dir / "in" + kPathSeparator + "x.bin", test::PatternBytes(25000));
    ASSERT_EQ(splitter.FilesToSplit().Add(dir / "in" + kPathSeparator + "x.bin"), 0);
  }
  bool Has(const std::string& name) { return FileExists(dir / name); }
  std::vector<std::string> Titles() {
    std::vector<std::string> t;
    for (const auto& b : Boxes())
      t.push_back(b.title + "|" + b.text);
    return t;
  }
};

TEST_F(SplitDisksTest, NoRoomAtTheStartWritesNothing) {
  Destination().type = DriveType::kFixed;
  Destination().freeBytes = 24999;
  splitter.Split();
  EXPECT_FALSE(Has("x.001"));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Insufficient disk space");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Please free some up on the destination drive and then try again");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(SplitDisksTest, EachFurtherDiskIsRequestedAndNeverTheFirst) {
  RemovableDestination(1457664, 1457664);
  splitter.Split();
  EXPECT_EQ(events.log, (std::vector<std::string>{"SplitStart(40960)", "SplitInterval(10240)",
                                                  "RequireNextDisk(2)", "SplitInterval(20480)",
                                                  "RequireNextDisk(3)", "SplitInterval(30720)",
                                                  "SplitInterval(40960)"}));
  EXPECT_TRUE(Has("x.003"));
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(SplitDisksTest, ACancelledDiskLeavesWhatWasWrittenAndEndsSilently) {
  RemovableDestination(1457664, 1457664);
  events.diskCancels = {false, true};
  splitter.Split();
  EXPECT_TRUE(Has("x.001"));
  EXPECT_TRUE(Has("x.002"));
  EXPECT_FALSE(Has("x.003"));
  EXPECT_EQ(events.log.back(), "RequireNextDisk(3)");
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(SplitDisksTest, ReCreatingOneFragmentAsksForNoDisk) {
  RemovableDestination(1457664, 1457664);
  splitter.SetRegenerateFragment(3);
  splitter.Split();
  EXPECT_EQ(events.log, (std::vector<std::string>{"SplitStart(40960)", "SplitInterval(30720)",
                                                  "SplitInterval(40960)"}));
  EXPECT_TRUE(Has("x.003"));
  EXPECT_FALSE(Has("x.001"));
}

TEST_F(SplitDisksTest, ADiskTooSmallEvenFormattedEndsTheRun) {
  RemovableDestination(1457664, 1457664);
  events.onInterval = [&](int32_t v) {
    // After the first fragment the user puts in a tiny disk.
    if (v == 10240)
      RemovableDestination(4096, 4096);
  };
  splitter.Split();
  EXPECT_TRUE(Has("x.001"));
  EXPECT_FALSE(Has("x.002"));
  EXPECT_EQ(Titles(), std::vector<std::string>{
                          "Insufficient disk space|Please reduce the fragment size or use a larger "
                          "capacity disk"});
}

TEST_F(SplitDisksTest, AFullDiskIsRetriedUntilTheContainerGivesUp) {
  RemovableDestination(1457664, 1457664);
  int fullEvents = 0;
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(1457664, 100);  // the second disk is nearly full
  };
  events.onDiskFull = [&] {
    ++fullEvents;
    if (fullEvents == 3)
      RemovableDestination(1457664, 1457664);  // formatted at the third ask
    return false;                              // check again
  };
  splitter.Split();
  EXPECT_EQ(fullEvents, 3);
  EXPECT_TRUE(Has("x.003"));
  EXPECT_TRUE(doubles.boxes.shown.empty());

  events.log.clear();
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(1457664, 100);
  };
  events.onDiskFull = [] { return true; };  // give up
  std::filesystem::remove(dir / "x.002");
  splitter.Split();
  EXPECT_FALSE(Has("x.002"));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "NotEnoughDiskSpace"), 1);
  EXPECT_EQ(Titles(), std::vector<std::string>{
                          "Insufficient disk space|Please free some up on the destination drive "
                          "and then try again"});
}

// What the folder shows while fragment 2 is re-made over an older one.
struct DuringTheFragment {
  std::vector<std::string> working;
  std::vector<uint8_t> underTheFinalName;
};

TEST_F(SplitDisksTest, AFragmentIsMadeBesideTheOldOneWhereTheDiskHasRoomForBoth) {
  RemovableDestination(1457664, 1457664);
  const std::vector<uint8_t> old(10240, 0xEE);
  test::WriteBytes(dir / "x.002", old);
  DuringTheFragment seen;
  events.onInterval = [&](int32_t v) {
    if (v == 20480)  // fragment 2, before it is written
      seen = {test::WorkingFilesIn(dir.Path()), test::ReadBytes(dir / "x.002")};
  };
  splitter.SetRegenerateFragment(2);
  splitter.Split();
  EXPECT_EQ(seen.working.size(), 1u);
  EXPECT_EQ(seen.underTheFinalName, old);
  EXPECT_EQ(test::ReadBytes(dir / "x.002"), test::Slice(test::PatternBytes(25000), 10240, 10240));
  EXPECT_TRUE(test::WorkingFilesIn(dir.Path()).empty());
  EXPECT_EQ(events.written, std::vector<std::string>{dir / "x.002"});
}

TEST_F(SplitDisksTest, WithoutRoomForBothTheOldFragmentIsReplacedInPlace) {
  // Enough for the series spread over three disks, not for a second
  // fragment of 10,240 bytes beside the first.
  RemovableDestination(1457664, 9000);
  test::WriteBytes(dir / "x.002", std::vector<uint8_t>(10240, 0xEE));
  DuringTheFragment seen;
  events.onInterval = [&](int32_t v) {
    if (v == 20480)  // fragment 2, before it is written
      seen = {test::WorkingFilesIn(dir.Path()), test::ReadBytes(dir / "x.002")};
  };
  splitter.SetRegenerateFragment(2);
  splitter.Split();
  EXPECT_TRUE(seen.working.empty());
  EXPECT_TRUE(seen.underTheFinalName.empty());  // the old one is gone already
  EXPECT_EQ(test::ReadBytes(dir / "x.002"), test::Slice(test::PatternBytes(25000), 10240, 10240));
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(SplitDisksTest, ACdRomWarnsAtEveryRemovabilityTestAndIsTreatedAsAHardDisk) {
  Destination().type = DriveType::kCdRom;
  Destination().freeBytes = 1000000;
  splitter.Split();
  // One in the start check, one per fragment.
  ASSERT_EQ(doubles.boxes.shown.size(), 4u);
  for (const auto& box : doubles.boxes.shown) {
    EXPECT_EQ(box.title, "CDROM Warning");
    EXPECT_EQ(box.text, "CD-ROM handler not yet present. Will be treated like hard-disk.");
  }
  EXPECT_TRUE(Has("x.003"));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "RequireNextDisk(2)"), 0);
}

}  // namespace
}  // namespace vtq
