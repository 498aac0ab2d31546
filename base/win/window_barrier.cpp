#include "base/win/window_barrier.h"

namespace vtq::base::win {
namespace {

// Module state by nature: one program, one error dialog.
WindowFailureReport& Report() {
  static WindowFailureReport report;
  return report;
}

}  // namespace

void SetWindowFailureReport(WindowFailureReport report) {
  Report() = std::move(report);
}

void ReportWindowFailure(HWND window, std::exception_ptr failure) noexcept {
  // Windows run on one thread each; a failure while the box shows is
  // answered without a second box.
  thread_local bool reporting = false;
  if (reporting || !Report())
    return;
  reporting = true;
  try {
    Report()(window, std::move(failure));
  } catch (...) {
    // The report failed in turn: the message is answered all the same.
  }
  reporting = false;
}

}  // namespace vtq::base::win
