// The control's build of the splitter: the same fragments as the program's,
// no trap (errors reach the caller), no multisize event.

#include <gtest/gtest.h>

#include "engine/platform/file_io.h"
#include "engine/split_guard.h"
#include "engine/splitter.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

struct CountingEvents : SplitterEvents {
  int starts = 0;
  int intervals = 0;
  void SplitStart(int32_t) override { ++starts; }
  void SplitInterval(int32_t) override { ++intervals; }
};

class ControlSplitTest : public ::testing::Test,
                         protected test::BasicSplitterHarness<CountingEvents> {
 protected:
  ControlSplitTest() : BasicSplitterHarness(test::SplitterDrives::kSystem) {}

  std::vector<uint8_t> data = test::PatternBytes(30000, 4);

  void SetUp() override {
    test::MakeFolder(dir / "out");
    test::WriteBytes(dir / "data.bin", data);
    ASSERT_EQ(splitter.FilesToSplit().Add(dir / "data.bin"), 0);
    splitter.SetDestinationFolder(dir / "out");
    SetFragmentSize(10240);
  }
  std::string Out(const std::string& name) { return splitter.DestinationFolder() + name; }
};

TEST_F(ControlSplitTest, WritesTheSameRawFragments) {
  splitter.SetFileFormat(aftRaw);
  splitter.Split();
  std::vector<uint8_t> joined;
  for (const char* name : {"data.001", "data.002", "data.003"}) {
    const auto part = test::ReadBytes(Out(name));
    joined.insert(joined.end(), part.begin(), part.end());
  }
  EXPECT_EQ(joined, data);
  EXPECT_EQ(events.starts, 1);
  EXPECT_EQ(events.intervals, 4);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 10240u);
}

TEST_F(ControlSplitTest, OwnFormatHeaderAndFirstSize) {
  int32_t first = 20000;
  splitter.SetFragmentSizeAtStart(first);  // no event in this build
  EXPECT_TRUE(splitter.DifferentSizeAtStart());
  splitter.Split();
  const auto fragment = test::ReadBytes(Out("data.001"));
  ASSERT_EQ(fragment.size(), 20000u);
  EXPECT_EQ(fragment[50], 2);  // two fragments
  EXPECT_EQ(std::vector<uint8_t>(fragment.begin() + 72, fragment.end()),
            std::vector<uint8_t>(data.begin(), data.begin() + 20000 - 72));
}

TEST_F(ControlSplitTest, ErrorsReachTheCallerWithoutATrap) {
  test::MakeFolder(Out("data.001"));  // fragment 1 cannot be created
  EXPECT_THROW(splitter.Split(), VbError);
  EXPECT_TRUE(doubles.advisor.asked.empty());
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_FALSE(FileExists(Out("data.002")));
}

TEST_F(ControlSplitTest, TheGuardLeavesAnAdvisorUnaskedEvenForErrorFive) {
  const auto guard = MakeSplitGuard(
      platform, [] { return SplitErrorFigures{}; }, [] {});
  EXPECT_THROW(guard->Run([] { Raise(err::kInvalidArgument); }), VbError);
  EXPECT_THROW(guard->Run([] { Raise(err::kDiskFull); }), VbError);
  EXPECT_TRUE(doubles.advisor.asked.empty());
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

}  // namespace
}  // namespace vtq
