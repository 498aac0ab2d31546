#pragma once
// How the split run meets an error in one of its steps. The program's build
// traps it when the platform has an error advisor (engine/program/): error 5
// gets the bug tracer's report, the others the advisor's choice. The
// control's build hands every error to its caller (engine/control/).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/platform/platform.h"

namespace vtq {

// The settings and the stage the error-5 report names.
struct SplitErrorFigures {
  int32_t fragmentSize = 0;
  int32_t firstFragmentSize = 0;
  bool encryption = false;
  bool multisize = false;
  bool regeneration = false;
  bool cabinetIsMultifile = false;
  std::string stage;
  // The size of the list's first file; 0 when it has gone.
  uint64_t firstFileLength = 0;
};

class SplitGuard {
 public:
  virtual ~SplitGuard() = default;
  // Runs one step of the run; false when the routine must end now.
  virtual bool Run(const std::function<void()>& step) = 0;
};

// `figures` is asked for when an error-5 report is shown; `closeAll` closes
// the run's files after it.
std::unique_ptr<SplitGuard> MakeSplitGuard(const Platform& platform,
                                           std::function<SplitErrorFigures()> figures,
                                           std::function<void()> closeAll);

}  // namespace vtq
