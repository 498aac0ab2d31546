// The split run's error trap: the error-5 report, the error advisor's four
// actions, a source that shrinks during the run, and the scaled progress
// values and 64-bit offsets of sources beyond 2 GB.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/program/bug_tracer.h"
#include "engine/program/error_trap.h"
#include "engine/splitter.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A sparse file of `length` zeros, by the engine's own seek and write:
// MinGW's resize_file goes through the C runtime, which refused lengths
// past 2 GiB under Wine now and then.
void MakeSparse(const std::string& name, uint64_t length) {
  File file(name, File::Mode::kReplace);
  file.Seek(length - 1);
  file.Write("", 1);
}

// Real files; a scripted destination drive with room for any source.
class SplitTrapTest : public ::testing::Test, protected test::SplitterHarness {
 protected:
  std::string source = dir / "data.bin";

  void SetUp() override {
    test::MakeFolder(dir / "out");
    splitter.SetDestinationFolder(dir / "out");
    FixedDestination();
    SetFragmentSize(10240);
  }
  Bytes Source(size_t size) {
    Bytes data = test::PatternBytes(size, 3);
    test::WriteBytes(source, data);
    EXPECT_EQ(splitter.FilesToSplit().Add(source), 0);
    return data;
  }
  std::string Out(const std::string& name) { return splitter.DestinationFolder() + name; }
  // A handler that changes the size mid-run leaves the last cut negative.
  void GrowFragmentsAfterTheFirst() {
    events.onInterval = [&](int32_t v) {
      if (v == 10240) {
        int32_t size = 20480;
        splitter.SetFragmentSize(size);
      }
    };
  }
};

TEST_F(SplitTrapTest, Error5ShowsTheBugTracerAndTheSixLineReportThenEndsTheProgram) {
  Source(30000);  // 3 fragments of 10,240 in the own format
  GrowFragmentsAfterTheFirst();
  EXPECT_THROW(splitter.Split(), ProgramEndRequested);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  const auto& notice = doubles.boxes.shown[0];
  EXPECT_EQ(notice.title, "Runtime error 5 intercepted");
  EXPECT_EQ(notice.text, kBugTracerNoticeText);
  EXPECT_EQ(notice.Icon(), mb::kIconExclamation);
  const auto& report = doubles.boxes.shown[1];
  EXPECT_EQ(report.title, BugTrackerTitle());
  EXPECT_EQ(report.title.rfind("Bug-Tracker 5 Report - Send this information to ", 0), 0u);
  EXPECT_EQ(report.Icon(), mb::kIconInformation);
  EXPECT_EQ(report.text,
            "Occurance: In CLS routine SplitFile (ActiveSplitter class)\r"
            "Fragment bytesize: 20480\r"
            "iFragment bytesize: 20480\r"
            "Flags: FalseFalseFalseFalse\r"
            "Pinpointer successful - pinpointed bug at: Final fragment buffer cutoff\r"
            "FL: 30000");
  EXPECT_TRUE(doubles.advisor.asked.empty());
}

TEST_F(SplitTrapTest, TheReportsFlagsFollowTheSettings) {
  Source(30000);
  splitter.SetEncryptionKey("k");
  splitter.SetCABIsMultifile(true);
  int32_t first = 10240;
  splitter.SetFragmentSizeAtStart(first);
  GrowFragmentsAfterTheFirst();
  EXPECT_THROW(splitter.Split(), ProgramEndRequested);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_NE(doubles.boxes.shown[1].text.find("\rFlags: TrueTrueFalseTrue\r"), std::string::npos);
}

// A folder where fragment 1 should go makes its creation fail.
class BlockedFragmentTest : public SplitTrapTest {
 protected:
  void SetUp() override {
    SplitTrapTest::SetUp();
    data = Source(30000);
    test::MakeFolder(Out("data.001"));
  }
  Bytes data;
};

TEST_F(BlockedFragmentTest, EndRoutineLeavesTheRunQuietly) {
  doubles.advisor.Answer(TrapAction::kEndRoutine);
  splitter.Split();
  ASSERT_EQ(doubles.advisor.asked.size(), 1u);
  EXPECT_NE(doubles.advisor.asked[0], err::kInvalidArgument);
  EXPECT_FALSE(FileExists(Out("data.002")));
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(BlockedFragmentTest, RetryRunsTheFailedStepAgain) {
  struct Unblocker : ErrorAdvisor {
    std::string blocked;
    int asked = 0;
    TrapAction Advise(const VbError&) override {
      ++asked;
      fs::remove(blocked);
      return TrapAction::kRetry;
    }
  } unblocker;
  unblocker.blocked = Out("data.001");
  platform.errorAdvisor = &unblocker;
  splitter.Split();
  EXPECT_EQ(unblocker.asked, 1);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 10240u);
  EXPECT_TRUE(FileExists(Out("data.003")));
}

TEST_F(BlockedFragmentTest, SkipGoesOnWithTheNextStep) {
  // Skipping the creation makes the header writes fail too (no open file);
  // the run goes on and the next fragments are written.
  for (int i = 0; i < 4; ++i)
    doubles.advisor.Answer(TrapAction::kSkip);
  splitter.Split();
  EXPECT_EQ(doubles.advisor.asked.size(), 4u);  // create, 2 records, data
  EXPECT_TRUE(fs::is_directory(Out("data.001")));
  EXPECT_EQ(test::ReadBytes(Out("data.002")).size(), 10240u);
  EXPECT_TRUE(FileExists(Out("data.003")));
}

TEST_F(BlockedFragmentTest, EndProgramReachesTheHost) {
  doubles.advisor.Answer(TrapAction::kEndProgram);
  EXPECT_THROW(splitter.Split(), ProgramEndRequested);
  EXPECT_FALSE(FileExists(Out("data.002")));
}

TEST_F(SplitTrapTest, ASourceThatShrinksIsAnErrorNotAShortFragment) {
  Source(30000);
  events.onInterval = [&](int32_t v) {
    if (v == 10240)
      fs::resize_file(source, 15000);
  };
  doubles.advisor.Answer(TrapAction::kEndRoutine);
  splitter.Split();
  ASSERT_EQ(doubles.advisor.asked.size(), 1u);
  EXPECT_EQ(doubles.advisor.asked[0], err::kInputPastEnd);
  // The fragment the error stopped is not left behind as a stub.
  EXPECT_EQ(test::NamesIn(dir / "out"), std::vector<std::string>{"data.001"});
}

// A run that fails half-way through a fragment, as one without its cipher
// library does: the fragment it was making is dropped and the file that had
// its name before stays as it was.
class FailedRerunTest : public SplitTrapTest {
 protected:
  void SetUp() override {
    SplitTrapTest::SetUp();
    Source(30000);
    splitter.SetCheckabilityEnabled(true);
    splitter.Split();
    for (const char* name : {"data.001", "data.002", "data.003"})
      before.push_back(test::ReadBytes(Out(name)));
  }
  // The interval raised for fragment `number` fails.
  void FailAtFragment(int number) {
    events.onInterval = [number](int32_t v) {
      if (v == (number - 1) * 10240 + 10240)
        Raise(err::kFileNotFound);
    };
  }
  void ExpectTheSeriesAsBefore() {
    EXPECT_EQ(test::NamesIn(dir / "out"),
              (std::vector<std::string>{"data.001", "data.002", "data.003"}));
    EXPECT_EQ(test::ReadBytes(Out("data.001")), before[0]);
    EXPECT_EQ(test::ReadBytes(Out("data.002")), before[1]);
    EXPECT_EQ(test::ReadBytes(Out("data.003")), before[2]);
  }
  std::vector<Bytes> before;
};

TEST_F(FailedRerunTest, AFirstFragmentWithItsHeaderWrittenIsNotLeftAsAStub) {
  FailAtFragment(1);
  doubles.advisor.Answer(TrapAction::kEndRoutine);
  splitter.Split();
  EXPECT_EQ(doubles.advisor.asked, std::vector<int32_t>{err::kFileNotFound});
  ExpectTheSeriesAsBefore();
}

TEST_F(FailedRerunTest, ARecreatedFragmentThatFailsLeavesTheOldOne) {
  splitter.SetRegenerateFragment(2);
  FailAtFragment(2);
  doubles.advisor.Answer(TrapAction::kEndRoutine);
  events.written.clear();
  splitter.Split();
  ExpectTheSeriesAsBefore();
  EXPECT_TRUE(events.written.empty());
}

TEST_F(FailedRerunTest, EndingTheProgramLeavesTheOldFragmentToo) {
  FailAtFragment(3);
  doubles.advisor.Answer(TrapAction::kEndProgram);
  events.written.clear();
  EXPECT_THROW(splitter.Split(), ProgramEndRequested);
  ExpectTheSeriesAsBefore();
  // The two fragments made whole were announced under their own names.
  EXPECT_EQ(events.written, (std::vector<std::string>{Out("data.001"), Out("data.002")}));
}

TEST_F(SplitTrapTest, ProgressOfA3GiBSourceIsGivenInQuarterBytes) {
  Source(0);
  int32_t size = 104857600;
  splitter.SetFragmentSize(size);
  MakeSparse(source, uint64_t{3} << 30);  // sparse: 31 fragments of 100 MiB
  ASSERT_EQ(splitter.FragsNeeded(1), 31);
  // Only the last fragment is written, so that the test stays small.
  splitter.SetRegenerateFragment(31);
  splitter.Split();
  EXPECT_TRUE(doubles.advisor.asked.empty());
  // 32 x 100 MiB is 3,355,443,200 bytes: past 2^31 - 1, so in units of 2 bytes.
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"SplitStart(1677721600)", "SplitInterval(1625292800)",
                                      "SplitInterval(1677721600)"}));
}

TEST_F(SplitTrapTest, OffsetsBeyond2GBReadTheRightBytes) {
  Source(0);
  splitter.SetFileFormat(aftRaw);
  int32_t size = 100000;
  splitter.SetFragmentSize(size);
  const uint64_t length = (uint64_t{1} << 31) + 50000;
  MakeSparse(source, length - 1000);
  {
    // A recognisable tail after the sparse part.
    std::FILE* f = std::fopen(source.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    const Bytes tail = test::PatternBytes(1000, 9);
    std::fwrite(tail.data(), 1, tail.size(), f);
    std::fclose(f);
  }
  const int16_t n = splitter.FragsNeeded(1);
  ASSERT_EQ(n, 21476);  // 2,147,533,648 bytes / 100,000, rounded up
  splitter.SetRegenerateFragment(n);
  splitter.Split();
  EXPECT_TRUE(doubles.advisor.asked.empty());
  // 21,477 x 100,000 bytes is past 2^31 - 1: the figures come in units of 2.
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"SplitStart(1073850000)", "SplitInterval(1073800000)",
                                      "SplitInterval(1073850000)"}));
  const Bytes last = test::ReadBytes(Out(FragmentNumber(n).insert(0, "data.")));
  const uint64_t expectedLength = length - static_cast<uint64_t>(n - 1) * 100000;
  ASSERT_EQ(last.size(), expectedLength);
  EXPECT_EQ(Bytes(last.end() - 1000, last.end()), test::PatternBytes(1000, 9));
  EXPECT_EQ(last.front(), 0);
}

}  // namespace
}  // namespace vtq
