#include "cli/assemble_events.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "cli/console_text.h"
#include "engine/path.h"
#include "engine/shown_text.h"

namespace vtq::cli {

AssembleProgress::AssembleProgress(MessageBoxes& boxes, std::FILE* out, Verbosity verbosity,
                                   ProgressMeter& meter, std::string firstFragment)
    : boxes_(boxes),
      out_(out),
      verbosity_(verbosity),
      meter_(meter),
      stem_(NameUpToFirstDot(firstFragment)) {}

std::string AssembleProgress::FragmentName(int number) const {
  return stem_ + FragmentNumber(number);
}

void AssembleProgress::AssembleStart(int16_t pbMax) {
  sizes_.assign(pbMax > 0 ? static_cast<size_t>(pbMax) : 0, 0);
  // Only a line on the screen shows the total: a series of many small
  // fragments is not measured once more for nothing.
  for (size_t i = 0; meter_.Live() && i < sizes_.size(); ++i) {
    // Fragments on later disks are not there yet: they count when read.
    sizes_[i] = FileSizeOrZero(FragmentName(static_cast<int>(i) + 1));
  }
  current_ = 0;
  meter_.Start(std::accumulate(sizes_.begin(), sizes_.end(), uint64_t{0}), pbMax);
}

void AssembleProgress::AssembleInterval(int16_t pbCurrent) {
  if (current_ > 0)
    ReportRead(current_);
  current_ = pbCurrent;
  const size_t before = std::min(sizes_.size(), static_cast<size_t>(std::max(pbCurrent - 1, 0)));
  meter_.Update(std::accumulate(sizes_.begin(),
                                sizes_.begin() + static_cast<std::ptrdiff_t>(before), uint64_t{0}),
                pbCurrent);
}

void AssembleProgress::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  meter_.Clear();
  const int answer = boxes_.Show(
      "Please insert the next disk (number " + std::to_string(diskNumber) + ") and click ok",
      "VazeVezazu", mb::kOkCancel | mb::kIconExclamation);
  if (answer == mb::kIdCancel)
    cancel = true;
}

void AssembleProgress::RunEnded() {
  meter_.Clear();
}

void AssembleProgress::Completed() {
  if (current_ > 0)
    ReportRead(current_);
  current_ = 0;
}

void AssembleProgress::ReportRead(int number) {
  if (verbosity_ != Verbosity::kVerbose)
    return;
  meter_.Clear();
  PrintText(out_, "%s\t%llu\n", ShownText(FragmentName(number)).c_str(),
            static_cast<unsigned long long>(FileSizeOrZero(FragmentName(number))));
  std::fflush(out_);
}

}  // namespace vtq::cli
