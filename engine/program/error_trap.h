#pragma once
// The error trap of long routines: it runs one named step at a time and, when
// a step raises, lets the routine report error 5 itself or asks the error
// dialog, then retries the step, skips it, ends the program or ends the
// routine. Not part of the control's build.

#include <cstdint>
#include <functional>
#include <stdexcept>

#include "engine/error.h"

namespace vtq {

enum class TrapAction : int16_t {
  kRetry = 0,       // run the failed step again
  kSkip = 1,        // go on with the next step
  kEndProgram = 2,  // close every open file and end the program
  kEndRoutine = 3,  // close every open file and end the routine
};

// Answers an error with an action; the program's error dialog is one.
class ErrorAdvisor {
 public:
  virtual ~ErrorAdvisor() = default;
  virtual TrapAction Advise(const VbError& error) = 0;
};

// Thrown to end the program after a trap's choice. Every guard on the way up
// closes its file; the host's top level ends the process.
class ProgramEndRequested : public std::exception {
 public:
  const char* what() const noexcept override { return "The program was asked to end"; }
};

class ErrorTrap {
 public:
  // `reportError5` shows the routine's own report for error 5; after it the
  // program ends.
  ErrorTrap(ErrorAdvisor& advisor, std::function<void(const VbError&)> reportError5);

  enum class Outcome { kContinue, kEndRoutine };
  // Runs `step` under the trap. kContinue: the step succeeded or was skipped.
  // kEndRoutine: the routine must return now. Throws ProgramEndRequested.
  Outcome Run(const std::function<void()>& step);

 private:
  ErrorAdvisor& advisor_;
  std::function<void(const VbError&)> reportError5_;
};

}  // namespace vtq
