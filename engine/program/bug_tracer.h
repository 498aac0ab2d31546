#pragma once
// The bug tracer's notice and the bug tracker's report title, shared by the
// error-5 reports of the split run and of the split command, and the address
// the program's problem reports point users to.

#include <string>

#include "engine/platform/platform.h"

namespace vtq {

inline constexpr const char* kBugReportAddress = "bugs@vantrelloquin.example";

inline constexpr const char* kBugTracerNoticeTitle = "Runtime error 5 intercepted";
inline constexpr const char* kBugTracerNoticeText =
    "Quorvelle's bug-tracer has intercepted a runtime error 5 and is able to provide additional "
    "debugging information. Please click ok and inform Quorvelle what appears on the following "
    "message. After the message, unfortunately, you will still not be able to split the file. But "
    "you WILL have additional information that will help Quorvelle to locate and eliminate this "
    "annoying bug.";

// Exclamation icon, OK.
inline void ShowBugTracerNotice(MessageBoxes& boxes) {
  boxes.Show(kBugTracerNoticeText, kBugTracerNoticeTitle, mb::kOk | mb::kIconExclamation);
}

extern const char kBugTrackerTitleStart[];

inline std::string BugTrackerTitle() {
  return std::string(kBugTrackerTitleStart) + kBugReportAddress;
}

}  // namespace vtq
