#include "app/window_commands/split_error_report.h"

#include "engine/program/bug_tracer.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kOccurance[] = "Occurance: In FRM routine C7";
extern const char kFragmentBytesize[] = "Fragment bytesize: ";
extern const char kFirstFragmentBytesize[] = "iFragment bytesize: ";
extern const char kFlags[] = "Flags: ";
extern const char kProgressStatus[] = "PB-Status: ";

namespace {

const char* TrueFalse(bool b) {
  return b ? "True" : "False";
}

}  // namespace

std::string SplitErrorReportText(const model::MainWindowState& s, const SplitterFigures& splitter) {
  std::string text =
      std::string(kOccurance) + '\r' + kFragmentBytesize + std::to_string(splitter.fragmentSize) +
      '\r' + kFirstFragmentBytesize + std::to_string(splitter.fragmentSizeAtStart) + '\r' + kFlags +
      TrueFalse(s.useCompression.checked) + TrueFalse(s.useEnc.checked) +
      TrueFalse(s.sizeMode == model::SizeMode::kCustom) + TrueFalse(s.firstOverride.checked) +
      TrueFalse(s.regenFragBool.checked) + TrueFalse(s.saveBat.checked) + '\r' + kProgressStatus +
      std::to_string(s.progressBar1.value) + " / " + std::to_string(s.progressBar1.max) + '\r';
  if (splitter.firstFileLength)
    text += "FL: " + std::to_string(*splitter.firstFileLength);
  else
    text += "Virtual collection empty";
  return text;
}

void ShowSplitErrorReport(const model::MainWindowState& state, const SplitterFigures& splitter,
                          MessageBoxes& boxes) {
  ShowBugTracerNotice(boxes);
  // With no file in the list, packing into the temporary cabinet is what
  // most likely failed.
  if (!splitter.firstFileLength)
    boxes.Show(kTemporaryDriveHint, kTemporaryDriveHintTitle, mb::kOk | mb::kIconInformation);
  boxes.Show(SplitErrorReportText(state, splitter), BugTrackerTitle(),
             mb::kOk | mb::kIconInformation);
}

}  // namespace vtq
