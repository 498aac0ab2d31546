#include "app/operations/runtime_error_box.h"

#include <string>

#include "app/operations/error_dialog.h"

namespace vtq {

void ShowRuntimeErrorBox(const VbError& failure, MessageBoxes& boxes) {
  boxes.Show("Runtime error " + std::to_string(failure.Number()) + ": " + failure.Description(),
             kErrorDialogTitle, mb::kIconCritical);
}

}  // namespace vtq
