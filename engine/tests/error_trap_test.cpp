// The error trap of long routines: which answer leads where, and that error
// 5 never reaches the dialog.

#include "engine/program/error_trap.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

struct TrapFixture : ::testing::Test {
  test::ScriptedAdvisor advisor;
  std::vector<int32_t> reported5;
  ErrorTrap trap{advisor, [this](const VbError& e) { reported5.push_back(e.Number()); }};
};

TEST_F(TrapFixture, AStepThatSucceedsContinuesWithoutAsking) {
  int runs = 0;
  EXPECT_EQ(trap.Run([&] { ++runs; }), ErrorTrap::Outcome::kContinue);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(advisor.asked.empty());
}

TEST_F(TrapFixture, RetryRunsTheStepAgainUntilItSucceeds) {
  advisor.Answer(TrapAction::kRetry);
  advisor.Answer(TrapAction::kRetry);
  int runs = 0;
  EXPECT_EQ(trap.Run([&] {
    if (++runs < 3)
      Raise(err::kDiskNotReady);
  }),
            ErrorTrap::Outcome::kContinue);
  EXPECT_EQ(runs, 3);
  EXPECT_EQ(advisor.asked, (std::vector<int32_t>{71, 71}));
}

TEST_F(TrapFixture, SkipGoesOnWithTheNextStep) {
  advisor.Answer(TrapAction::kSkip);
  int runs = 0;
  EXPECT_EQ(trap.Run([&] {
    ++runs;
    Raise(err::kDeviceIo);
  }),
            ErrorTrap::Outcome::kContinue);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(advisor.asked, std::vector<int32_t>{57});
}

TEST_F(TrapFixture, EndRoutineReturnsToTheCaller) {
  advisor.Answer(TrapAction::kEndRoutine);
  EXPECT_EQ(trap.Run([] { Raise(err::kObjectErrorBase + 1000); }), ErrorTrap::Outcome::kEndRoutine);
  EXPECT_EQ(advisor.asked, std::vector<int32_t>{err::kObjectErrorBase + 1000});
}

TEST_F(TrapFixture, EndProgramThrows) {
  advisor.Answer(TrapAction::kEndProgram);
  EXPECT_THROW(trap.Run([] { Raise(err::kPermissionDenied); }), ProgramEndRequested);
  EXPECT_TRUE(reported5.empty());
}

TEST_F(TrapFixture, ErrorFiveIsReportedAndEndsTheProgramWithoutTheDialog) {
  int runs = 0;
  EXPECT_THROW(trap.Run([&] {
    ++runs;
    Raise(err::kInvalidArgument);
  }),
               ProgramEndRequested);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(reported5, std::vector<int32_t>{5});
  EXPECT_TRUE(advisor.asked.empty());
}

TEST_F(TrapFixture, OutOfMemoryBecomesErrorSeven) {
  advisor.Answer(TrapAction::kEndProgram);
  EXPECT_THROW(trap.Run([] { throw std::bad_alloc(); }), ProgramEndRequested);
  EXPECT_EQ(advisor.asked, std::vector<int32_t>{7});
}

TEST_F(TrapFixture, OtherExceptionsPassThrough) {
  EXPECT_THROW(trap.Run([] { throw std::logic_error("not a run-time error"); }), std::logic_error);
  EXPECT_TRUE(advisor.asked.empty());
}

}  // namespace
}  // namespace vtq
