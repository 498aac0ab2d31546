#include "app/win/window_failure_report.h"

#include <optional>

#include "app/operations/command_steps.h"
#include "engine/current_failure.h"

namespace vtq::app {

void ShowWindowFailure(std::exception_ptr failure, ErrorAdvisor& errorDialog,
                       const std::function<void()>& endProgram) {
  std::optional<VbError> error;
  try {
    std::rethrow_exception(failure);
  } catch (const ProgramEndRequested&) {
    // The user has chosen already, in a dialog on the way up.
  } catch (const CommandEndedByErrorDialog&) {
    return;
  } catch (...) {
    error = CurrentFailure();
  }
  // Asked outside the handler: the dialog runs messages, which may fail too.
  if (!error || errorDialog.Advise(*error) == TrapAction::kEndProgram)
    endProgram();
}

}  // namespace vtq::app
