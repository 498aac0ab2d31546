#pragma once
// The main window's side of a series' recovery files: written after a
// whole series split to a fixed disk, a repair offered before an assembly
// that lacks fragments, and the title of "Verify" (series_verdict.h words
// its box, series_recovery.h does the work).

#include <cstdint>
#include <optional>
#include <string>

#include "app/model/main_window_model.h"
#include "app/operations/series_recovery.h"
#include "app/operations/series_verdict.h"
#include "app/operations/split_operation.h"
#include "engine/globals.h"
#include "engine/platform/platform.h"

namespace vtq {

class CommandWindow;

// A recovery command's steps in one of the window's bars, in thousandths.
class BarRecoveryEvents final : public RecoveryEvents {
 public:
  BarRecoveryEvents(CommandWindow& window, model::Control bar) : window_(window), bar_(bar) {}
  void Progress(uint64_t done, uint64_t total) override;
  void StepEnded() override;

 private:
  CommandWindow& window_;
  model::Control bar_;
};

inline constexpr int32_t kRecoveryBarMax = 1000;

// The percentage the window asks recovery files for, when it asks for any:
// the box ticked where it is offered. nullopt also for a field that holds
// no percentage, which `PercentProblem` then names.
bool RecoveryWanted(const model::MainWindowState& state);
std::optional<double> RecoveryPercent(const model::MainWindowState& state);
extern const char kBadRecoveryPercent[];
extern const char kBadRecoveryPercentTitle[];

// After a whole series: writes its recovery files, the bar showing how far,
// and tells what went wrong in a box. The words the split's outcome gains:
// how many lost fragments they can rebuild.
std::wstring WriteRecoveryAfterSplit(const SplitResult& split, double percent,
                                     CommandWindow& window, MessageBoxes& boxes);

// Before an assembly: offers the repair when the recovery files find
// fragments missing or cut, and runs it with the bar showing how far. False
// when the assembly should not go on (the repair left the series broken).
// `repaired` tells whether it ran.
bool RepairBeforeAssembly(const std::string& firstFragment, Globals& globals, CommandWindow& window,
                          MessageBoxes& boxes, bool& repaired, RepairBeforeAssembling& look);

inline constexpr const char* kVerifyTitle = "Verify";

}  // namespace vtq
