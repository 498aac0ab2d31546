#pragma once
// The report "Split now!" shows instead of the error dialog when it meets
// run-time error 5: the bug tracer's notice, a hint about the temporary
// drive when the splitter had no file yet, and the splitter's sizes with
// the window's options and progress, for the user to send us. The command
// ends after it.

#include <string>

#include "app/model/main_window_model.h"
#include "app/operations/split_operation.h"
#include "engine/platform/platform.h"

namespace vtq {

inline constexpr const char* kTemporaryDriveHintTitle = "Suggested cause of error";
inline constexpr const char* kTemporaryDriveHint =
    "NOTE: You may be low on hard disk space on your temporary drive (usually C:\\) - this could "
    "be the cause of the error.";

// The report's lines joined by carriage returns, without one at the end.
std::string SplitErrorReportText(const model::MainWindowState& state,
                                 const SplitterFigures& splitter);

// The notice, the hint when the splitter had no file, then the report.
void ShowSplitErrorReport(const model::MainWindowState& state, const SplitterFigures& splitter,
                          MessageBoxes& boxes);

}  // namespace vtq
