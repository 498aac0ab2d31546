#pragma once
// The console's words for the recovery commands of a series
// (app/operations/series_recovery.h): the options that ask for recovery
// files, and the lines that tell what writing, checking and rebuilding
// them came to.

#include <cstdio>
#include <string>
#include <vector>

#include "app/operations/series_recovery.h"
#include "cli/progress_meter.h"

namespace vtq::cli {

// The amount an option asks for, or why the text is not one.
std::string ReadRecoveryPercent(const std::string& text, RecoveryAmount& amount);
std::string ReadRecoveryCount(const std::string& text, RecoveryAmount& amount);

// A recovery command's progress on the console's meter.
class MeterRecoveryEvents : public RecoveryEvents {
 public:
  explicit MeterRecoveryEvents(ProgressMeter& meter) : meter_(meter) {}
  void Progress(uint64_t done, uint64_t total) override;
  void StepEnded() override;

 private:
  ProgressMeter& meter_;
  bool started_ = false;
};

// Writes the recovery files of the fragments (full names, in order); names
// them on `out` and sums them up on `err`, neither when `quiet`. The exit
// status: 0, or 1 after an error named on `err`.
int WriteSeriesRecovery(const std::vector<std::string>& fragments, const RecoveryAmount& amount,
                        ProgressMeter& meter, bool quiet, std::FILE* out, std::FILE* err);

// What a repair with the recovery files found and did: what was rebuilt
// on `out`, the rest on `err`.
void ReportRecoveryRepair(const RecoveryRepair& repair, std::FILE* out, std::FILE* err);

// "recovery: ..." lines, for standard output: how many lost fragments the
// recovery files could rebuild, or what they lack. None without them.
std::vector<std::string> RecoveryLines(const RecoveryCapacity& look);

}  // namespace vtq::cli
