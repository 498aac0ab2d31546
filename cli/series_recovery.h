#pragma once
// The console's side of a series' recovery files (recovery/): writing them
// after a split, rebuilding fragments with them, and what they could still
// rebuild. The files are the fragments' folder and stem followed by "par2"
// (report. gives report.par2) and by "vol" + first + "+" + count + ".par2".

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/progress_meter.h"

namespace vtq::cli {

// The fragments' folder and stem: the recovery files' names up to "par2".
std::string RecoveryPrefixOf(const std::string& fragment);

struct RecoveryAmount {
  std::optional<double> percent;  // --recovery PERCENT
  uint32_t count = 0;             // --recovery-count N, when not 0
};

// The amount an option asks for, or why the text is not one.
std::string ReadRecoveryPercent(const std::string& text, RecoveryAmount& amount);
std::string ReadRecoveryCount(const std::string& text, RecoveryAmount& amount);

// Writes the recovery files of the fragments (full names, in order); names
// them on `out` and sums them up on `err`. The exit status: 0, or 1 after an
// error named on `err`.
int WriteSeriesRecovery(const std::vector<std::string>& fragments, const RecoveryAmount& amount,
                        ProgressMeter& meter, bool quiet, std::FILE* out, std::FILE* err);

struct RepairReport {
  bool setFound = false;  // false: no readable recovery set was there
  bool wasWhole = false;  // nothing needed rebuilding
  std::vector<std::string> rebuilt;
  std::vector<std::string> notRebuilt;
  bool Whole() const { return setFound && notRebuilt.empty(); }
};

// Checks the files of the recovery set of `indexFile` (and its volumes) and
// rebuilds what is missing or damaged, saying so on `out` and `err`.
RepairReport RepairFromRecoveryFiles(const std::string& indexFile, ProgressMeter& meter,
                                     std::FILE* out, std::FILE* err);

// Whether the recovery set of `indexFile` names a file that is missing or not
// of its length (nothing is read): the quick look before an assembly.
bool RecoverySetLacksAFile(const std::string& indexFile);

// "recovery: ..." on `out`: how many lost fragments the recovery files
// beside `firstFragment` could rebuild, or what they lack. Nothing when
// there are none.
void ReportRecoveryCapacity(const std::string& firstFragment, std::FILE* out);

}  // namespace vtq::cli
