// A failure that reached a window procedure of the program: the error
// dialog for it, and the end of the program only when the user asks for it.
#include "app/win/window_failure_report.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "app/operations/command_steps.h"
#include "engine/current_failure.h"

namespace vtq::app {
namespace {

class RecordingDialog : public ErrorAdvisor {
 public:
  explicit RecordingDialog(TrapAction answer) : answer_(answer) {}
  TrapAction Advise(const VbError& error) override {
    shown.push_back(error);
    return answer_;
  }
  std::vector<VbError> shown;

 private:
  TrapAction answer_;
};

template <class Exception>
std::exception_ptr Thrown(Exception exception) {
  return std::make_exception_ptr(std::move(exception));
}

TEST(WindowFailureReport, TheErrorDialogShowsTheFailureAndOnlyItsEndEndsTheProgram) {
  const struct {
    std::exception_ptr failure;
    int32_t number;
    const char* description;
  } cases[] = {
      {Thrown(VbError(err::kDiskFull)), err::kDiskFull, "Disk full"},
      {Thrown(std::bad_alloc()), err::kOutOfMemory, "Out of memory"},
      {Thrown(std::out_of_range("map::at")), kInternalErrorNumber, "Internal error"},
  };
  for (const auto& c : cases) {
    for (const TrapAction answer : {TrapAction::kRetry, TrapAction::kSkip, TrapAction::kEndRoutine,
                                    TrapAction::kEndProgram}) {
      RecordingDialog dialog(answer);
      int ended = 0;
      ShowWindowFailure(c.failure, dialog, [&] { ++ended; });
      ASSERT_EQ(dialog.shown.size(), 1u);
      EXPECT_EQ(dialog.shown[0].Number(), c.number);
      EXPECT_EQ(dialog.shown[0].Description(), c.description);
      EXPECT_EQ(ended, answer == TrapAction::kEndProgram ? 1 : 0) << c.description;
    }
  }
}

TEST(WindowFailureReport, AChoiceMadeInADialogOnTheWayUpIsNotAskedAgain) {
  RecordingDialog dialog(TrapAction::kEndProgram);
  int ended = 0;
  ShowWindowFailure(Thrown(ProgramEndRequested()), dialog, [&] { ++ended; });
  EXPECT_EQ(ended, 1);
  ShowWindowFailure(Thrown(CommandEndedByErrorDialog(VbError(err::kDiskFull))), dialog,
                    [&] { ++ended; });
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(dialog.shown.empty());
}

}  // namespace
}  // namespace vtq::app
