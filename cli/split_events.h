#pragma once
// The console's side of a split: progress bar, one line per fragment
// written, the disk requests asked as questions, and the closing summary.

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/operations/split_operation.h"
#include "cli/console_host.h"
#include "engine/splitter.h"

namespace vtq::cli {

class SplitProgress : public SplitterEvents {
 public:
  SplitProgress(MessageBoxes& boxes, std::FILE* out, std::FILE* err);

  // Clears the progress bar after a run that ended early.
  void Abandon() { bar_.Finish(); }
  // The closing line on the error stream.
  void Summary(const SplitResult& result);

  void SplitStart(int32_t pbMax) override;
  void SplitInterval(int32_t pbCurrent) override;
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  void NotEnoughDiskSpace(bool& cancel) override;
  void FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) override;

 private:
  MessageBoxes& boxes_;
  std::FILE* out_;
  std::FILE* err_;
  ConsoleProgress bar_;
};

}  // namespace vtq::cli
