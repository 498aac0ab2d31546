#include "app/window_commands/window_recovery.h"

#include "app/operations/series_side_files.h"
#include "app/window_commands/window_commands.h"
#include "base/utf8_text.h"
#include "engine/path.h"
#include "engine/platform/platform.h"

namespace vtq {
namespace {

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + BaseName(name);
  return text;
}

}  // namespace

extern const char kBadRecoveryPercent[] =
    "Please enter the share of recovery data as a percentage: more than 0, at most 100.";
extern const char kBadRecoveryPercentTitle[] = "Invalid recovery percentage";

void BarRecoveryEvents::Progress(uint64_t done, uint64_t total) {
  const uint64_t shown = total == 0 ? kRecoveryBarMax : done * kRecoveryBarMax / total;
  window_.ShowProgress(bar_, static_cast<int32_t>(shown), kRecoveryBarMax);
}

void BarRecoveryEvents::StepEnded() {
  window_.ResetProgress(bar_);
}

bool RecoveryWanted(const model::MainWindowState& s) {
  return s.useRecovery.checked && s.useRecovery.enabled;
}

std::optional<double> RecoveryPercent(const model::MainWindowState& s) {
  return ParseRecoveryPercent(base::ToUtf8(s.recoveryPercent.text));
}

std::wstring WriteRecoveryAfterSplit(const SplitResult& split, double percent,
                                     CommandWindow& window, MessageBoxes& boxes) {
  WriteRecoveryRequest request;
  request.fragments = SeriesFragmentNames(split.firstFragment, split.written);
  request.amount.percent = percent;
  BarRecoveryEvents events(window, model::Control::kProgressBar1);
  const WriteRecoveryResult written = WriteSeriesRecovery(request, events);
  std::string why;
  switch (written.stop) {
    case WriteRecoveryStop::kNone:
      // Short, so that the outcome's line keeps some of the folder.
      return L"; recovery files rebuild " + std::to_wstring(written.fragmentsRebuildable) +
             L" lost";
    case WriteRecoveryStop::kFragmentNotThere:
      why = written.absentFragment +
            " is not in the folder: recovery files need every fragment of the series in one "
            "folder.";
      break;
    case WriteRecoveryStop::kBeyondLimits:
      why =
          "The series is beyond what recovery files can cover (at most 32768 slices and "
          "65535 recovery slices).";
      break;
    case WriteRecoveryStop::kOutOfMemory:
      why = "There is not enough memory for the recovery files' tables.";
      break;
    case WriteRecoveryStop::kEngineError:
      why = "Error " + std::to_string(written.error.number) + ": " + written.error.description +
            (written.error.file.empty() ? "" : " (" + written.error.file + ")");
      break;
  }
  boxes.Show(why + "\n\nThe fragments were written; no recovery files were.",
             "Recovery files not written", mb::kOk | mb::kIconExclamation);
  return L"; no recovery files";
}

bool RepairBeforeAssembly(const std::string& firstFragment, Globals& globals, CommandWindow& window,
                          MessageBoxes& boxes, bool& repaired, RepairBeforeAssembling& look) {
  repaired = false;
  look = LookBeforeAssembling(firstFragment);
  if (!look.Offer())
    return true;
  if (boxes.Show(RepairOfferText(look.indexFile), kRepairOfferTitle,
                 mb::kYesNo | mb::kIconQuestion) != mb::kIdYes) {
    return true;
  }
  RepairRequest request;
  request.series.firstFragment = firstFragment;
  request.verifyAfter = false;
  BarRecoveryEvents events(window, model::Control::kProgressBar2);
  const SeriesRepair result = RepairSeries(request, globals, events);
  repaired = true;
  if (result.repair.Whole())
    return true;
  std::string why;
  if (result.repair.stop == RepairStop::kSetRefused)
    why = "The recovery files are not used: " + result.repair.refusal + ".";
  else if (!result.repair.SetFound())
    why = "The recovery files hold no complete recovery set.";
  else if (result.repair.outOfMemory)
    why = "There is not enough memory to rebuild this many lost slices at once.";
  else if (result.repair.error)
    why = "Error " + std::to_string(result.repair.error->number) + ": " +
          result.repair.error->description;
  else
    why = "The recovery files could not rebuild " + Listed(result.repair.notRebuilt) +
          (result.repair.problem.empty() ? "." : ": " + result.repair.problem + ".");
  boxes.Show(why + "\n\nNothing was assembled.", "Repair failed", mb::kOk | mb::kIconCritical);
  return false;
}

}  // namespace vtq
