#pragma once
// The console's side of a split: the progress line, a line per fragment
// written with -v, the disk requests asked as questions, and the closing
// summary.

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/operations/split_operation.h"
#include "cli/console_host.h"
#include "cli/progress_meter.h"
#include "engine/splitter.h"

namespace vtq::cli {

class SplitProgress : public SplitterEvents {
 public:
  // Fragment lines go to `out`, the summary to `err`; `meter` draws on the
  // terminal, if any.
  SplitProgress(MessageBoxes& boxes, std::FILE* out, std::FILE* err, Verbosity verbosity,
                ProgressMeter& meter);

  // The series is known: its fragments and the bytes of source they carry.
  void Expect(int fragments, uint64_t sourceBytes);
  // Takes the progress line off the screen after a run that ended early.
  void Abandon() { meter_.Clear(); }
  // The closing line on the error stream.
  void Summary(const SplitResult& result);

  void SplitStart(int32_t pbMax) override;
  void SplitInterval(int32_t) override {}
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  void NotEnoughDiskSpace(bool& cancel) override;
  void FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) override;

 private:
  MessageBoxes& boxes_;
  std::FILE* out_;
  std::FILE* err_;
  Verbosity verbosity_;
  ProgressMeter& meter_;
  int fragments_ = 0;
  uint64_t sourceBytes_ = 0;
  uint64_t written_ = 0;
};

}  // namespace vtq::cli
