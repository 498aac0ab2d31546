#include "app/operations/command_steps.h"

#include <algorithm>
#include <new>
#include <optional>

namespace vtq {

void CommandSteps::Run(const std::function<void()>& step) {
  for (;;) {
    std::optional<VbError> failure;
    try {
      step();
      return;
    } catch (const VbError& error) {
      failure = error;
    } catch (const std::bad_alloc&) {
      failure = VbError(err::kOutOfMemory);
    }
    const bool ownReport =
        std::find(ownReports_.begin(), ownReports_.end(), failure->Number()) != ownReports_.end();
    if (advisor_ == nullptr || ownReport)
      throw *failure;
    // Asked outside the handler: the dialog shows a box and may raise in turn.
    switch (advisor_->Advise(*failure)) {
      case TrapAction::kRetry:
        continue;
      case TrapAction::kSkip:
        return;
      case TrapAction::kEndProgram:
        throw ProgramEndRequested();
      case TrapAction::kEndRoutine:
        break;
    }
    throw CommandEndedByErrorDialog(*failure);
  }
}

}  // namespace vtq
