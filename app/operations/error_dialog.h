#pragma once
// The shared error dialog of the main window's commands and of the split
// run's trap: one box that explains the error and lets the user choose
// between going on and ending the program, answered with the action the
// caller takes.

#include <string>

#include "engine/error.h"
#include "engine/program/error_trap.h"
#include "engine/platform/platform.h"

namespace vtq {

inline constexpr const char* kErrorDialogTitle = "There is a problem";

// The sentences that ask the user to tell us about a problem. The first asks
// for what they were doing (the bug tracer had nothing to offer).
std::string ContactSentenceDescribe();
std::string ContactSentenceReport();

// The code of an object error: its number less the object-error base, on 32
// bits (any number gives a code, however far from the base).
int32_t ObjectErrorCode(int32_t number);

// Shows the one box for `error` and returns the caller's action; an answer
// the box does not list gives kRetry. Closes nothing itself.
TrapAction ShowErrorDialog(const VbError& error, MessageBoxes& boxes);

// The error dialog as the split run's trap asks it.
class ErrorDialogAdvisor : public ErrorAdvisor {
 public:
  explicit ErrorDialogAdvisor(MessageBoxes& boxes) : boxes_(boxes) {}
  TrapAction Advise(const VbError& error) override { return ShowErrorDialog(error, boxes_); }

 private:
  MessageBoxes& boxes_;
};

}  // namespace vtq
