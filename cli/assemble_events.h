#pragma once
// The console's side of an assembly: the progress line over the bytes of the
// series' fragments, a line per fragment read with -v, and the next-disk
// requests asked as questions.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/operations/assemble_operation.h"
#include "cli/console_host.h"
#include "cli/progress_meter.h"

namespace vtq::cli {

class AssembleProgress : public AssembleWatcher {
 public:
  // `firstFragment` names the series; fragment lines go to `out`.
  AssembleProgress(MessageBoxes& boxes, std::FILE* out, Verbosity verbosity, ProgressMeter& meter,
                   std::string firstFragment);

  void AssembleStart(int16_t pbMax) override;
  void AssembleInterval(int16_t pbCurrent) override;
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  void RunEnded() override;
  // The whole series was read: its last fragment's line with -v.
  void Completed();

 private:
  std::string FragmentName(int number) const;
  void ReportRead(int number);

  MessageBoxes& boxes_;
  std::FILE* out_;
  Verbosity verbosity_;
  ProgressMeter& meter_;
  std::string stem_;
  std::vector<uint64_t> sizes_;  // of fragments 1 to n; 0 for one not there yet
  int current_ = 0;
};

}  // namespace vtq::cli
