#pragma once
// The console's side of a series' recovery files (recovery/): writing them
// after a split, rebuilding fragments with them, and what they could still
// rebuild. The files are the fragments' folder and stem followed by "par2"
// (report. gives report.par2) and by "vol" + first + "+" + count + ".par2"
// (app/operations/series_side_files.h). What the series makes of what they
// find is app/operations' word (SortRecoveryFaults).

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/series_verification.h"
#include "cli/progress_meter.h"

namespace vtq::cli {

struct RecoveryAmount {
  std::optional<double> percent;  // --recovery PERCENT
  uint32_t count = 0;             // --recovery-count N, when not 0
};

// The amount an option asks for, or why the text is not one.
std::string ReadRecoveryPercent(const std::string& text, RecoveryAmount& amount);
std::string ReadRecoveryCount(const std::string& text, RecoveryAmount& amount);

// Writes the recovery files of the fragments (full names, in order); names
// them on `out` and sums them up on `err`, neither when `quiet`. The exit
// status: 0, or 1 after an error named on `err`.
int WriteSeriesRecovery(const std::vector<std::string>& fragments, const RecoveryAmount& amount,
                        ProgressMeter& meter, bool quiet, std::FILE* out, std::FILE* err);

struct RepairReport {
  bool setFound = false;  // false: no readable recovery set was there
  bool wasWhole = false;  // nothing needed rebuilding
  std::vector<std::string> rebuilt;
  std::vector<std::string> notRebuilt;
  bool Whole() const { return setFound && notRebuilt.empty(); }
};

// Checks the files of the recovery set of `indexFile` (and its volumes),
// looked for beside `firstFragment`, and rebuilds the series' fragments
// that are missing or damaged (as `series`, the series' own check, sees
// them), saying so on `out` and `err`.
RepairReport RepairFromRecoveryFiles(const std::string& indexFile, const std::string& firstFragment,
                                     const VerifyReport& series, ProgressMeter& meter,
                                     std::FILE* out, std::FILE* err);

// The files the recovery set beside `firstFragment` names that are missing
// or not of its length (nothing is read): the quick look before an assembly.
std::vector<std::string> FilesTheRecoverySetLacks(const std::string& firstFragment);

// What the recovery files beside a series found of it.
struct RecoveryLook {
  RecoveryFaults faults;
  std::vector<std::string> lines;  // "recovery: ...", for standard output
};
// Checks the series' fragments against the recovery files beside
// `firstFragment`: its fragments at fault, and how many lost fragments the
// files could rebuild or what they lack. Nothing when there are none.
RecoveryLook LookAtRecoveryFiles(const std::string& firstFragment, const VerifyReport& series);

}  // namespace vtq::cli
