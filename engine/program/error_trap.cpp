#include "engine/program/error_trap.h"

#include <new>
#include <optional>
#include <utility>

namespace vtq {

ErrorTrap::ErrorTrap(ErrorAdvisor& advisor, std::function<void(const VbError&)> reportError5)
    : advisor_(advisor), reportError5_(std::move(reportError5)) {}

ErrorTrap::Outcome ErrorTrap::Run(const std::function<void()>& step) {
  for (;;) {
    std::optional<VbError> failure;
    try {
      step();
      return Outcome::kContinue;
    } catch (const VbError& error) {
      failure = error;
    } catch (const std::bad_alloc&) {
      failure = VbError(err::kOutOfMemory);
    }
    // The answer is asked for outside the handler: the advisor shows a box
    // and may raise in turn.
    if (failure->Number() == err::kInvalidArgument) {
      if (reportError5_)
        reportError5_(*failure);
      throw ProgramEndRequested();
    }
    switch (advisor_.Advise(*failure)) {
      case TrapAction::kRetry:
        continue;
      case TrapAction::kSkip:
        return Outcome::kContinue;
      case TrapAction::kEndProgram:
        throw ProgramEndRequested();
      case TrapAction::kEndRoutine:
        return Outcome::kEndRoutine;
    }
    // An action outside the four: ending the routine loses nothing.
    return Outcome::kEndRoutine;
  }
}

}  // namespace vtq
