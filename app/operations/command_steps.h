#pragma once
// The error exit of a command's own steps (outside the engine's runs, which
// have their traps): an error a step raises goes to the error dialog, whose
// answer retries the step, goes on with the next one, ends the program or
// ends the command. Errors the command reports in its own words, and every
// error of a command run without a dialog (the console's), go up as they are.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "engine/error.h"
#include "engine/program/error_trap.h"

namespace vtq {

// Raised by a step whose error the dialog's answer ended the command with;
// carries the error for the caller's clean-up.
class CommandEndedByErrorDialog {
 public:
  explicit CommandEndedByErrorDialog(VbError error) : error_(std::move(error)) {}
  const VbError& Error() const { return error_; }

 private:
  VbError error_;
};

class CommandSteps {
 public:
  // `advisor` may be null: then every error goes up. `ownReports` are the
  // error numbers the command reports itself.
  CommandSteps(ErrorAdvisor* advisor, std::initializer_list<int32_t> ownReports)
      : advisor_(advisor), ownReports_(ownReports) {}

  // Runs `step` to its end, again after Retry, or not at all after Skip.
  // Throws CommandEndedByErrorDialog, ProgramEndRequested, or the step's
  // own VbError when the dialog is not asked.
  void Run(const std::function<void()>& step);

 private:
  ErrorAdvisor* advisor_;
  std::vector<int32_t> ownReports_;
};

}  // namespace vtq
