// The splitter and its run checked from the outside: the stage an error-5
// report names at each event, the report's lines in regeneration mode, the
// progress values of a series with a first size of its own, the full-disk
// loop's measuring and the exact refusals of a removable destination.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/program/error_trap.h"
#include "engine/splitter.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

// Raises error 5 from the named event, at its `nth` occurrence.
class FaultyEvents : public test::RecordingSplitterEvents {
 public:
  std::string failAt;
  int nth = 1;

  void SplitStart(int32_t pbMax) override {
    RecordingSplitterEvents::SplitStart(pbMax);
    Maybe("SplitStart");
  }
  void SplitInterval(int32_t pbCurrent) override {
    RecordingSplitterEvents::SplitInterval(pbCurrent);
    Maybe("SplitInterval");
  }
  void RequireNextDisk(int16_t disk, bool& cancel) override {
    RecordingSplitterEvents::RequireNextDisk(disk, cancel);
    Maybe("RequireNextDisk");
  }
  void NotEnoughDiskSpace(bool& cancel) override {
    RecordingSplitterEvents::NotEnoughDiskSpace(cancel);
    Maybe("NotEnoughDiskSpace");
  }

 private:
  int seen_ = 0;
  void Maybe(const std::string& event) {
    if (event == failAt && ++seen_ == nth)
      Raise(err::kInvalidArgument);
  }
};

class AcceptanceSplitTest : public ::testing::Test,
                            protected test::BasicSplitterHarness<FaultyEvents> {
 protected:
  std::string source = dir / "in" + kPathSeparator + "x.bin";

  void SetUp() override {
    test::MakeFolder(dir / "in");
    test::MakeFolder(dir / "out");
    splitter.SetDestinationFolder(dir / "out");
    splitter.SetFileFormat(aftRaw);
    SetFragmentSize(10240);
    test::WriteBytes(source, test::PatternBytes(25000, 5));  // 3 fragments
    ASSERT_EQ(splitter.FilesToSplit().Add(source), 0);
    FixedDestination();
  }
  std::string Out(const std::string& name) { return splitter.DestinationFolder() + name; }
  // The stage named by the error-5 report of a run that fails at `event`.
  std::string StageAt(const std::string& event, int nth = 1) {
    events.failAt = event;
    events.nth = nth;
    EXPECT_THROW(splitter.Split(), ProgramEndRequested);
    EXPECT_EQ(doubles.boxes.shown.size(), 2u);
    if (doubles.boxes.shown.size() != 2u)
      return {};
    const std::string& text = doubles.boxes.shown[1].text;
    const std::string key = "Pinpointer successful - pinpointed bug at: ";
    const size_t at = text.find(key);
    if (at == std::string::npos)
      return {};
    const size_t end = text.find('\r', at);
    return text.substr(at + key.size(), end - at - key.size());
  }
};

TEST_F(AcceptanceSplitTest, TheReportNamesTheStageOfEachEvent) {
  EXPECT_EQ(StageAt("SplitStart"), "Progress-bar initializer");
  EXPECT_FALSE(FileExists(Out("x.001")));
}

TEST_F(AcceptanceSplitTest, AnIntervalFailsInTheProgressBarUpdater) {
  EXPECT_EQ(StageAt("SplitInterval", 2), "Progress bar updater");
  // Fragment 2 was begun but never written: nothing of it stays.
  EXPECT_EQ(test::NamesIn(dir / "out"), std::vector<std::string>{"x.001"});
}

TEST_F(AcceptanceSplitTest, TheClosingIntervalFailsInTheFinalUpdater) {
  EXPECT_EQ(StageAt("SplitInterval", 4), "Final progress bar updater");
  EXPECT_EQ(test::ReadBytes(Out("x.003")).size(), 25000u - 2 * 10240u);
}

TEST_F(AcceptanceSplitTest, DiskEventsFailInTheVazeVezazuExtension) {
  RemovableDestination(1457664, 1457664);
  EXPECT_EQ(StageAt("RequireNextDisk"), "VazeVezazu extension");
}

TEST_F(AcceptanceSplitTest, AFullDiskEventFailsInTheVazeVezazuExtension) {
  RemovableDestination(1457664, 1457664);
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(1457664, 100);
  };
  events.onDiskFull = [] { return false; };
  EXPECT_EQ(StageAt("NotEnoughDiskSpace"), "VazeVezazu extension");
}

TEST_F(AcceptanceSplitTest, TheReportInRegenerationModeGivesTheFileLength) {
  splitter.SetRegenerateFragment(2);
  events.failAt = "SplitInterval";
  EXPECT_THROW(splitter.Split(), ProgramEndRequested);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[1].text,
            "Occurance: In CLS routine SplitFile (ActiveSplitter class)\r"
            "Fragment bytesize: 10240\r"
            "iFragment bytesize: 10240\r"
            "Flags: FalseFalseTrueFalse\r"
            "Pinpointer successful - pinpointed bug at: Progress bar updater\r"
            "FL: 25000");
  EXPECT_EQ(doubles.boxes.shown[1].Buttons(), mb::kOk);
  EXPECT_TRUE(doubles.advisor.asked.empty());
}

TEST_F(AcceptanceSplitTest, AFirstSizeOfItsOwnShapesEveryProgressValue) {
  test::WriteBytes(source, test::PatternBytes(45000, 5));
  int32_t first = 20480;
  splitter.SetFragmentSizeAtStart(first);
  // 20,480 first, then 24,520 over fragments of 10,240: 4 in all.
  ASSERT_EQ(splitter.FragsNeeded(1), 4);
  splitter.Split();
  EXPECT_EQ(events.log, (std::vector<std::string>{"MultisizeFlagChange(true)", "SplitStart(61440)",
                                                  "SplitInterval(20480)", "SplitInterval(30720)",
                                                  "SplitInterval(40960)", "SplitInterval(51200)",
                                                  "SplitInterval(61440)"}));
  EXPECT_EQ(test::ReadBytes(Out("x.001")).size(), 20480u);
  EXPECT_EQ(test::ReadBytes(Out("x.002")).size(), 10240u);
  EXPECT_EQ(test::ReadBytes(Out("x.003")).size(), 10240u);
  EXPECT_EQ(test::ReadBytes(Out("x.004")).size(), 45000u - 40960u);
  EXPECT_EQ(doubles.loop.yields, 4);
}

TEST_F(AcceptanceSplitTest, TheFullDiskLoopMeasuresTheDiskBeforeEveryComplaint) {
  RemovableDestination(1457664, 1457664);
  size_t afterFirst = 0;
  std::vector<size_t> atComplaint;
  events.onInterval = [&](int32_t v) {
    if (v == 10240) {
      RemovableDestination(1457664, 100);
      afterFirst = doubles.fakeDrives.typeQueries.size();
    }
  };
  events.onDiskFull = [&] {
    atComplaint.push_back(doubles.fakeDrives.typeQueries.size());
    if (atComplaint.size() == 2)
      RemovableDestination(1457664, 1457664);
    return false;
  };
  splitter.Split();
  ASSERT_EQ(atComplaint.size(), 2u);
  // Fragment 2's removability test, the free check, the formatted check and
  // the loop's own check come before the first complaint; one check before
  // the second.
  EXPECT_EQ(atComplaint[0] - afterFirst, 4u);
  EXPECT_EQ(atComplaint[1] - atComplaint[0], 1u);
  EXPECT_TRUE(FileExists(Out("x.003")));
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(AcceptanceSplitTest, RemovableRefusalsAreCriticalStopsWithOk) {
  RemovableDestination(1457664, 1457664);
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(4096, 4096);
  };
  splitter.Split();
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Insufficient disk space");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Please reduce the fragment size or use a larger capacity disk");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(doubles.boxes.shown[0].Buttons(), mb::kOk);
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "NotEnoughDiskSpace"), 0);

  doubles.boxes.shown.clear();
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(1457664, 100);
  };
  splitter.Split();  // the container leaves cancel TRUE
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Please free some up on the destination drive and then try again");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(doubles.boxes.shown[0].Buttons(), mb::kOk);
}

TEST_F(AcceptanceSplitTest, TheCancelAnswerIsKeptBetweenDisks) {
  // A container that answers the full-disk event with FALSE and leaves the
  // next disk request alone lets the run go on.
  RemovableDestination(1457664, 1457664);
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      RemovableDestination(1457664, 100);
  };
  events.onDiskFull = [&] {
    RemovableDestination(1457664, 1457664);
    return false;
  };
  splitter.Split();
  EXPECT_TRUE(FileExists(Out("x.003")));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "RequireNextDisk(3)"), 1);
}

TEST_F(AcceptanceSplitTest, TheEstimatedFileRecordCountsAPlaceholderOf999) {
  splitter.SetFileFormat(aftQuorvelle);
  const auto count = [](const std::string& record) {
    return static_cast<uint8_t>(record[0]) | (static_cast<uint8_t>(record[1]) << 8);
  };
  EXPECT_EQ(count(splitter.FileRecordBytes(1, true)), 999);
  EXPECT_EQ(count(splitter.FileRecordBytes(1, false)), splitter.FragsNeeded(1));
  EXPECT_EQ(splitter.FileRecordBytes(1, true).size(), splitter.FileRecordBytes(1, false).size());
}

TEST_F(AcceptanceSplitTest, TheMeasuredPrefixIsAsLongAsTheWrittenRecords) {
  splitter.SetFileFormat(aftQuorvelle);
  const auto written = [&] {
    size_t bytes = splitter.FormatRecordBytes().size() + splitter.FileRecordBytes(1, false).size();
    if (splitter.UseEncryption())
      bytes += splitter.EncryptionRecordBytes().size();
    return bytes;
  };
  splitter.SetUseEncryption(false);
  EXPECT_EQ(splitter.HeaderText(1, false).size(), written());
  EXPECT_EQ(splitter.HeaderText(1, false).size(), 50u + 5u + 14u);  // "x.bin"
  splitter.SetUseEncryption(true);
  ASSERT_TRUE(splitter.UseEncryption());  // the built-in passphrase
  EXPECT_EQ(splitter.HeaderText(1, false).size(), written());
  // Fragment 1 is exactly its nominal size with the header in front.
  splitter.Split();
  EXPECT_EQ(test::ReadBytes(Out("x.001")).size(), 10240u);
}

TEST_F(AcceptanceSplitTest, AnEmptyListSplitsNothing) {
  ActiveSplitter fresh{globals, events};
  fresh.SetDestinationFolder(dir / "out");
  fresh.Split();
  EXPECT_TRUE(events.log.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
}

}  // namespace
}  // namespace vtq
