#include "cli/console_barrier.h"

#include "cli/console_host.h"
#include "cli/console_text.h"
#include "engine/current_failure.h"
#include "engine/shown_text.h"

namespace vtq::cli {

int ConsoleBarrier(const std::function<int()>& program, std::FILE* err) noexcept {
  try {
    return program();
  } catch (...) {
    const VbError failure = CurrentFailure();
    try {
      if (!failure.FileName().empty()) {
        PrintText(
            err, "vtq: %s\n",
            FileErrorNote(failure.FileName(), failure.Description(), failure.Number()).c_str());
      } else {
        PrintText(err, "vtq: error %d: %s\n", failure.Number(),
                  ShownText(failure.Description()).c_str());
      }
    } catch (...) {
      // No memory left for the line's texts: the classic words at least.
      std::fputs("vtq: error 7: Out of memory\n", err);
    }
    return 1;
  }
}

}  // namespace vtq::cli
