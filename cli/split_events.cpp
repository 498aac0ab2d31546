#include "cli/split_events.h"

#include "engine/shown_text.h"

namespace vtq::cli {

SplitProgress::SplitProgress(MessageBoxes& boxes, std::FILE* out, std::FILE* err)
    : boxes_(boxes), out_(out), err_(err), bar_(err) {}

void SplitProgress::SplitStart(int32_t pbMax) {
  bar_.Start(pbMax);
}

void SplitProgress::SplitInterval(int32_t pbCurrent) {
  bar_.Update(pbCurrent);
}

void SplitProgress::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  bar_.Finish();
  const int answer = boxes_.Show(
      "Please insert disk number " + std::to_string(diskNumber) + " into the drive, then confirm.",
      "Next disk", mb::kOkCancel | mb::kIconQuestion);
  cancel = answer != mb::kIdOk;
}

void SplitProgress::NotEnoughDiskSpace(bool& cancel) {
  bar_.Finish();
  const int answer = boxes_.Show(
      "There is not enough room on the disk for the next fragment. Free some space or insert an "
      "empty disk, then retry.",
      "Disk full", mb::kRetryCancel | mb::kIconExclamation);
  cancel = answer != mb::kIdRetry;
}

void SplitProgress::FragmentWritten(int16_t, const std::string& name, uint64_t bytes) {
  bar_.Finish();
  std::fprintf(out_, "%s\t%llu\n", ShownText(name).c_str(), static_cast<unsigned long long>(bytes));
  std::fflush(out_);
}

void SplitProgress::Summary(const SplitResult& result) {
  bar_.Finish();
  const std::string shown = ShownText(result.destination);
  const char* destination = shown.c_str();
  if (result.Complete()) {
    std::fprintf(err_, "vtq: %d fragment%s, %llu bytes written to %s\n", result.written,
                 result.written == 1 ? "" : "s",
                 static_cast<unsigned long long>(result.bytesWritten), destination);
  } else {
    std::fprintf(err_, "vtq: split stopped: %d of %d fragment%s written to %s\n", result.written,
                 result.expected, result.expected == 1 ? "" : "s", destination);
  }
}

}  // namespace vtq::cli
