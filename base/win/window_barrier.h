#pragma once
// The barrier of every window and dialog procedure of ours: an exception
// never unwinds into the system's message dispatch (which would end the
// program, or worse, skip the system's own clean-up). The message gets the
// answer the caller names, and the program's report (the error dialog)
// hears of the failure once the handler is left.

#include <windows.h>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace vtq::base::win {

// Set once at start-up by a program with an error dialog; without one a
// failure is only answered. Never called while an earlier report is still
// showing (its own messages may fail in turn).
using WindowFailureReport = std::function<void(HWND window, std::exception_ptr failure)>;
void SetWindowFailureReport(WindowFailureReport report);
void ReportWindowFailure(HWND window, std::exception_ptr failure) noexcept;

// Runs body; when it throws, answers `failed` (a value, or a function that
// gives it, called only then) and reports.
// The report for the guard's life, which must end before what the report
// refers to.
class ScopedWindowFailureReport {
 public:
  explicit ScopedWindowFailureReport(WindowFailureReport report) {
    SetWindowFailureReport(std::move(report));
  }
  ~ScopedWindowFailureReport() { SetWindowFailureReport(nullptr); }
  ScopedWindowFailureReport(const ScopedWindowFailureReport&) = delete;
  ScopedWindowFailureReport& operator=(const ScopedWindowFailureReport&) = delete;
};

template <class Result, class Body, class Failed>
Result WindowBarrier(HWND window, Failed&& failed, Body&& body) noexcept {
  std::exception_ptr failure;
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    failure = std::current_exception();
  }
  Result answer{};
  try {
    if constexpr (std::is_invocable_v<Failed>)
      answer = failed();
    else
      answer = failed;
  } catch (...) {
  }
  // Outside the handler: the report shows a modal box and runs messages.
  ReportWindowFailure(window, std::move(failure));
  return answer;
}

}  // namespace vtq::base::win
