#include "engine/bug_tracer.h"

namespace vtq {

std::string BugTrackerTitle() {
  return std::string("Bug-Tracker 5 Report - Send this information to ") + kBugTrackerContact;
}

void ShowBugTracerNotice(MessageBoxes& boxes) {
  boxes.Show(kBugTracerNotice, kBugTracerNoticeTitle, mb::kOk | mb::kIconExclamation);
}

}  // namespace vtq
