#include "app/operations/error_dialog.h"

#include "engine/program/bug_tracer.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kInsertDisk[] = "Please insert a disk in the drive ";
extern const char kInsertDiskEnd[] = "and click retry. Otherwise click cancel to exit the program.";
extern const char kAutomationErrorEnd[] =
    "You may attempt to continue running the program (other errors may occur) by clicking OK or "
    "you can exit the program now by clicking CANCEL.";
extern const char kObjectErrorEnd[] =
    "You can now either attempt to continue running the program (click OK) or exit the program "
    "(click CANCEL). Note that if you continue running, the program may be unstable and "
    "additional problems may occur.";
extern const char kOtherErrorEnd[] =
    "You may click OK to try to ignore the error but this may cause the program to become "
    "unstable. You can exit the program by clicking cancel.";

namespace {

constexpr char kCr[] = "\r";

TrapAction ByAnswer(int answer, int firstId, TrapAction first, int secondId, TrapAction second) {
  if (answer == firstId)
    return first;
  if (answer == secondId)
    return second;
  return TrapAction::kRetry;
}

TrapAction RuntimeError5(MessageBoxes& boxes) {
  const int answer = boxes.Show(
      "A runtime error 5 occured and the bug tracer was unsuccessful." + ContactSentenceDescribe(),
      kErrorDialogTitle, mb::kOk);
  return answer == mb::kIdOk ? TrapAction::kSkip : TrapAction::kRetry;
}

TrapAction OutOfMemory(MessageBoxes& boxes) {
  boxes.Show("Ummm.... there doesn't appear to be any memory left.... sorry....", kErrorDialogTitle,
             mb::kOk | mb::kIconCritical);
  return TrapAction::kEndProgram;
}

TrapAction DiskNotReady(MessageBoxes& boxes) {
  const int answer = boxes.Show(std::string(kInsertDisk) + kInsertDiskEnd, kErrorDialogTitle,
                                mb::kRetryCancel | mb::kIconExclamation);
  return ByAnswer(answer, mb::kIdRetry, TrapAction::kRetry, mb::kIdCancel, TrapAction::kEndProgram);
}

TrapAction AutomationError(const VbError& error, MessageBoxes& boxes) {
  const std::string text = "An automation error has occured." + ContactSentenceReport() +
                           " Please quote error code: 440, source: " + error.Source() +
                           ", description: " + error.Description() + kCr + kAutomationErrorEnd;
  const int answer = boxes.Show(text, kErrorDialogTitle, mb::kOkCancel | mb::kIconCritical);
  return ByAnswer(answer, mb::kIdOk, TrapAction::kSkip, mb::kIdCancel, TrapAction::kEndProgram);
}

TrapAction ObjectError(const VbError& error, MessageBoxes& boxes) {
  const std::string text = "An ActiveX error " + std::to_string(ObjectErrorCode(error.Number())) +
                           " has occured." + ContactSentenceReport() +
                           " Please quote object error code: " + std::to_string(error.Number()) +
                           ", object source: " + error.Source() + kCr + error.Description() + kCr +
                           kObjectErrorEnd;
  const int answer =
      boxes.Show(text, kErrorDialogTitle, mb::kOkCancel | mb::kIconCritical | mb::kDefaultButton2);
  return ByAnswer(answer, mb::kIdOk, TrapAction::kSkip, mb::kIdCancel, TrapAction::kEndProgram);
}

TrapAction OtherError(const VbError& error, MessageBoxes& boxes) {
  const std::string text = "Runtime error " + std::to_string(error.Number()) + ": " +
                           error.Description() + kCr + kOtherErrorEnd + ContactSentenceReport();
  const int answer =
      boxes.Show(text, kErrorDialogTitle, mb::kOkCancel | mb::kIconCritical | mb::kDefaultButton2);
  return ByAnswer(answer, mb::kIdOk, TrapAction::kSkip, mb::kIdCancel, TrapAction::kEndProgram);
}

}  // namespace

std::string ContactSentenceDescribe() {
  return std::string(" Please write to ") + kBugReportAddress +
         " and describe what you were doing when the error appeared, so that we can find and fix "
         "its cause.";
}

std::string ContactSentenceReport() {
  return std::string(" We would be grateful if you reported this problem to ") + kBugReportAddress +
         ".";
}

int32_t ObjectErrorCode(int32_t number) {
  return static_cast<int32_t>(static_cast<uint32_t>(number) -
                              static_cast<uint32_t>(err::kObjectErrorBase));
}

TrapAction ShowErrorDialog(const VbError& error, MessageBoxes& boxes) {
  switch (error.Number()) {
    case err::kInvalidArgument:
      return RuntimeError5(boxes);
    case err::kOutOfMemory:
      return OutOfMemory(boxes);
    case err::kDiskNotReady:
      return DiskNotReady(boxes);
    case err::kAutomation:
      return AutomationError(error, boxes);
    default:
      break;
  }
  return error.Number() < 0 ? ObjectError(error, boxes) : OtherError(error, boxes);
}

}  // namespace vtq
