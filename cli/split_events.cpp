#include "cli/split_events.h"

#include <algorithm>

#include "cli/console_text.h"
#include "engine/shown_text.h"

namespace vtq::cli {

SplitProgress::SplitProgress(MessageBoxes& boxes, std::FILE* out, std::FILE* err,
                             Verbosity verbosity, ProgressMeter& meter)
    : boxes_(boxes), out_(out), err_(err), verbosity_(verbosity), meter_(meter) {}

void SplitProgress::Expect(int fragments, uint64_t sourceBytes) {
  fragments_ = fragments;
  sourceBytes_ = sourceBytes;
}

void SplitProgress::SplitStart(int32_t) {
  written_ = 0;
  meter_.Start(sourceBytes_, fragments_);
}

void SplitProgress::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  meter_.Clear();
  const int answer = boxes_.Show(
      "Please insert disk number " + std::to_string(diskNumber) + " into the drive, then confirm.",
      "Next disk", mb::kOkCancel | mb::kIconQuestion);
  cancel = answer != mb::kIdOk;
}

void SplitProgress::NotEnoughDiskSpace(bool& cancel) {
  meter_.Clear();
  const int answer = boxes_.Show(
      "There is not enough room on the disk for the next fragment. Free some space or insert an "
      "empty disk, then retry.",
      "Disk full", mb::kRetryCancel | mb::kIconExclamation);
  cancel = answer != mb::kIdRetry;
}

void SplitProgress::FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) {
  written_ += bytes;
  if (verbosity_ == Verbosity::kVerbose) {
    meter_.Clear();
    PrintText(out_, "%s\t%llu\n", ShownText(name).c_str(), static_cast<unsigned long long>(bytes));
    std::fflush(out_);
  }
  // The fragments carry the header and check digits besides the source:
  // the line counts source bytes, done when the last fragment is.
  const bool last = number >= fragments_;
  meter_.Update(last ? sourceBytes_ : std::min(written_, sourceBytes_), number);
}

void SplitProgress::Summary(const SplitResult& result) {
  meter_.Clear();
  if (verbosity_ == Verbosity::kQuiet && result.Complete())
    return;
  const std::string shown = ShownText(result.destination);
  const char* destination = shown.c_str();
  if (result.Complete()) {
    PrintText(err_, "vtq: %d fragment%s, %llu bytes written to %s\n", result.written,
              result.written == 1 ? "" : "s", static_cast<unsigned long long>(result.bytesWritten),
              destination);
  } else {
    PrintText(err_, "vtq: split stopped: %d of %d fragment%s written to %s\n", result.written,
              result.expected, result.expected == 1 ? "" : "s", destination);
  }
}

}  // namespace vtq::cli
