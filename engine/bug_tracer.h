#pragma once
// The bug tracer's notice and report title, shown before a routine's own
// error-5 report (the split run's and the split command's). They live at the
// engine's level so that the engine and the operations above it share them.

#include <string>

#include "engine/platform.h"

namespace vtq {

inline constexpr const char* kBugTracerNoticeTitle = "Runtime error 5 intercepted";
inline constexpr const char* kBugTracerNotice =
    "Quorvelle's bug-tracer has intercepted a runtime error 5 and is able to provide additional "
    "debugging information. Please click ok and inform Quorvelle what appears on the following "
    "message. After the message, unfortunately, you will still not be able to split the file. "
    "But you WILL have additional information that will help Quorvelle to locate and eliminate "
    "this annoying bug.";
inline constexpr const char* kBugTrackerContact = "bugs@vantrelloquin.example";
// The names the error dialog's side uses for the same texts.
inline constexpr const char* kBugReportAddress = kBugTrackerContact;
inline constexpr const char* kBugTracerNoticeText = kBugTracerNotice;

// "Bug-Tracker 5 Report - Send this information to " + the contact address.
std::string BugTrackerTitle();
// The notice: exclamation icon, OK.
void ShowBugTracerNotice(MessageBoxes& boxes);

}  // namespace vtq
