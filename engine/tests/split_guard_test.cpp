// The program's guard of the split run's steps, on its own: errors pass
// through without an advisor; with one, error 5 gets the report from the
// figures of the moment of the error and ends the program, the others the
// advisor's choice.

#include <gtest/gtest.h>

#include "engine/program/bug_tracer.h"
#include "engine/program/error_trap.h"
#include "engine/split_guard.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

class SplitGuardTest : public ::testing::Test {
 protected:
  test::TestPlatform doubles;
  int figuresAsked = 0;
  int closed = 0;

  std::unique_ptr<SplitGuard> Guard(Platform platform) {
    return MakeSplitGuard(
        platform,
        [this] {
          ++figuresAsked;
          SplitErrorFigures figures;
          figures.fragmentSize = 10240;
          figures.firstFragmentSize = 20480;
          figures.encryption = true;
          figures.cabinetIsMultifile = true;
          figures.stage = "Fragment dumper";
          figures.firstFileLength = 30000;
          return figures;
        },
        [this] { ++closed; });
  }
};

TEST_F(SplitGuardTest, WithoutAnAdvisorEveryErrorReachesTheCaller) {
  Platform platform = doubles.Fake();
  platform.errorAdvisor = nullptr;
  const auto guard = Guard(platform);
  bool ran = false;
  EXPECT_TRUE(guard->Run([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_THROW(guard->Run([] { Raise(err::kInvalidArgument); }), VbError);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(figuresAsked + closed, 0);
}

TEST_F(SplitGuardTest, ErrorFiveShowsTheReportThenClosesAndEndsTheProgram) {
  const auto guard = Guard(doubles.Fake());
  EXPECT_THROW(guard->Run([] { Raise(err::kInvalidArgument); }), ProgramEndRequested);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].title, kBugTracerNoticeTitle);
  EXPECT_EQ(doubles.boxes.shown[1].title, BugTrackerTitle());
  EXPECT_EQ(doubles.boxes.shown[1].text,
            "Occurance: In CLS routine SplitFile (ActiveSplitter class)\r"
            "Fragment bytesize: 10240\r"
            "iFragment bytesize: 20480\r"
            "Flags: TrueFalseFalseTrue\r"
            "Pinpointer successful - pinpointed bug at: Fragment dumper\r"
            "FL: 30000");
  EXPECT_EQ(figuresAsked, 1);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(doubles.advisor.asked.empty());
}

TEST_F(SplitGuardTest, OtherErrorsFollowTheAdvisor) {
  const auto guard = Guard(doubles.Fake());
  doubles.advisor.Answer(TrapAction::kSkip);
  EXPECT_TRUE(guard->Run([] { Raise(err::kDiskFull); }));
  doubles.advisor.Answer(TrapAction::kEndRoutine);
  EXPECT_FALSE(guard->Run([] { Raise(err::kPermissionDenied); }));
  EXPECT_EQ(doubles.advisor.asked, (std::vector<int32_t>{err::kDiskFull, err::kPermissionDenied}));
  EXPECT_EQ(figuresAsked + closed, 0);
}

}  // namespace
}  // namespace vtq
