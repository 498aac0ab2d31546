// Every branch of the error dialog: its exact text, buttons, icon and
// default button, and the action each answer gives; plus the bug tracer's
// notice and title.

#include "app/operations/error_dialog.h"

#include <gtest/gtest.h>

#include "engine/program/bug_tracer.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using test::RecordingBoxes;
using test::ShownBox;

struct Asked {
  TrapAction action;
  ShownBox box;
};

Asked Ask(const VbError& error, int answer) {
  RecordingBoxes boxes;
  boxes.Answer(answer);
  const TrapAction action = ShowErrorDialog(error, boxes);
  EXPECT_EQ(boxes.shown.size(), 1u);
  return {action, boxes.shown.at(0)};
}

TEST(ContactSentences, NameTheAddressAndFitBetweenTheFixedTexts) {
  for (const std::string& s : {ContactSentenceDescribe(), ContactSentenceReport()}) {
    EXPECT_EQ(s.front(), ' ');  // joined straight after a full stop
    EXPECT_NE(s.back(), ' ');
    EXPECT_NE(s.find(kBugReportAddress), std::string::npos);
  }
  EXPECT_NE(ContactSentenceDescribe().find("describe what you were doing"), std::string::npos);
}

TEST(ErrorDialog, RuntimeError5) {
  const Asked ok = Ask(VbError(5), mb::kIdOk);
  EXPECT_EQ(ok.action, TrapAction::kSkip);
  EXPECT_EQ(ok.box.title, "There is a problem");
  EXPECT_EQ(ok.box.text, "A runtime error 5 occured and the bug tracer was unsuccessful." +
                             ContactSentenceDescribe());
  EXPECT_EQ(ok.box.style, mb::kOk);  // no icon, first button
  EXPECT_EQ(Ask(VbError(5), mb::kIdCancel).action, TrapAction::kRetry);
}

TEST(ErrorDialog, OutOfMemoryEndsTheProgramWhateverTheAnswer) {
  for (int answer : {mb::kIdOk, mb::kIdCancel, 0}) {
    const Asked a = Ask(VbError(7), answer);
    EXPECT_EQ(a.action, TrapAction::kEndProgram);
    EXPECT_EQ(a.box.title, "There is a problem");
    EXPECT_EQ(a.box.text, "Ummm.... there doesn't appear to be any memory left.... sorry....");
    EXPECT_EQ(a.box.style, mb::kOk | mb::kIconCritical);
  }
}

TEST(ErrorDialog, DiskNotReadyRetriesOrEnds) {
  const Asked retry = Ask(VbError(71), mb::kIdRetry);
  EXPECT_EQ(retry.action, TrapAction::kRetry);
  EXPECT_EQ(retry.box.text,
            "Please insert a disk in the drive and click retry. Otherwise click cancel to exit the "
            "program.");
  EXPECT_EQ(retry.box.title, "There is a problem");
  EXPECT_EQ(retry.box.style, mb::kRetryCancel | mb::kIconExclamation);
  EXPECT_EQ(Ask(VbError(71), mb::kIdCancel).action, TrapAction::kEndProgram);
  EXPECT_EQ(Ask(VbError(71), mb::kIdOk).action, TrapAction::kRetry);  // not listed
}

TEST(ErrorDialog, AutomationError) {
  const VbError error(440, "Compressor", "The cabinet could not be written");
  const Asked ok = Ask(error, mb::kIdOk);
  EXPECT_EQ(ok.action, TrapAction::kSkip);
  EXPECT_EQ(ok.box.text, "An automation error has occured." + ContactSentenceReport() +
                             " Please quote error code: 440, source: Compressor, description: The "
                             "cabinet could not be written\rYou may attempt to continue running "
                             "the program (other errors may occur) by clicking OK or you can exit "
                             "the program now by clicking CANCEL.");
  EXPECT_EQ(ok.box.title, "There is a problem");
  EXPECT_EQ(ok.box.style, mb::kOkCancel | mb::kIconCritical);
  EXPECT_EQ(Ask(error, mb::kIdCancel).action, TrapAction::kEndProgram);
  EXPECT_EQ(Ask(error, mb::kIdYes).action, TrapAction::kRetry);
}

TEST(ErrorDialog, ObjectErrorQuotesCodeAndFullNumber) {
  const VbError error(-2147220504, "Vantrelloquin", "Cabinet creation failed");
  const Asked ok = Ask(error, mb::kIdOk);
  EXPECT_EQ(ok.action, TrapAction::kSkip);
  EXPECT_EQ(ok.box.text,
            "An ActiveX error 1000 has occured." + ContactSentenceReport() +
                " Please quote object error code: -2147220504, object source: Vantrelloquin\r"
                "Cabinet creation failed\rYou can now either attempt to continue running the "
                "program (click OK) or exit the program (click CANCEL). Note that if you continue "
                "running, the program may be unstable and additional problems may occur.");
  EXPECT_EQ(ok.box.title, "There is a problem");
  EXPECT_EQ(ok.box.Buttons(), mb::kOkCancel);
  EXPECT_EQ(ok.box.Icon(), mb::kIconCritical);
  EXPECT_EQ(ok.box.DefaultButton(), mb::kDefaultButton2);
  EXPECT_EQ(Ask(error, mb::kIdCancel).action, TrapAction::kEndProgram);
  EXPECT_EQ(Ask(error, mb::kIdRetry).action, TrapAction::kRetry);
}

TEST(ErrorDialog, ObjectErrorCodeNeverFails) {
  EXPECT_EQ(ObjectErrorCode(-2147219503), 2001);
  EXPECT_EQ(ObjectErrorCode(-1), 2147221503);
  EXPECT_EQ(ObjectErrorCode(INT32_MIN), -262144);
  const Asked far = Ask(VbError(INT32_MIN, "x", "y"), mb::kIdOk);
  EXPECT_EQ(far.box.text.rfind("An ActiveX error -262144 has occured.", 0), 0u);
  EXPECT_NE(far.box.text.find("object error code: -2147483648, "), std::string::npos);
}

TEST(ErrorDialog, AnyOtherNumber) {
  const VbError error(61);
  const Asked ok = Ask(error, mb::kIdOk);
  EXPECT_EQ(ok.action, TrapAction::kSkip);
  EXPECT_EQ(ok.box.text,
            "Runtime error 61: Disk full\rYou may click OK to try to ignore the error but this may "
            "cause the program to become unstable. You can exit the program by clicking cancel." +
                ContactSentenceReport());
  EXPECT_EQ(ok.box.title, "There is a problem");
  EXPECT_EQ(ok.box.style, mb::kOkCancel | mb::kIconCritical | mb::kDefaultButton2);
  EXPECT_EQ(Ask(error, mb::kIdCancel).action, TrapAction::kEndProgram);
  EXPECT_EQ(Ask(error, mb::kIdNo).action, TrapAction::kRetry);
  EXPECT_EQ(Ask(VbError(0), mb::kIdOk).box.text.rfind("Runtime error 0: ", 0), 0u);
}

TEST(ErrorDialogAdvisor, AnswersTheTrapWithTheDialog) {
  RecordingBoxes boxes;
  boxes.Answer(mb::kIdRetry);
  boxes.Answer(mb::kIdCancel);
  ErrorDialogAdvisor advisor(boxes);
  EXPECT_EQ(advisor.Advise(VbError(71)), TrapAction::kRetry);
  EXPECT_EQ(advisor.Advise(VbError(53)), TrapAction::kEndProgram);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text.rfind("Runtime error 53: File not found\r", 0), 0u);
}

TEST(BugTracer, NoticeAndTitle) {
  RecordingBoxes boxes;
  ShowBugTracerNotice(boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "Runtime error 5 intercepted");
  EXPECT_EQ(boxes.shown[0].text,
            "Quorvelle's bug-tracer has intercepted a runtime error 5 and is able to provide "
            "additional debugging information. Please click ok and inform Quorvelle what appears "
            "on the following message. After the message, unfortunately, you will still not be "
            "able to split the file. But you WILL have additional information that will help "
            "Quorvelle to locate and eliminate this annoying bug.");
  EXPECT_EQ(boxes.shown[0].style, mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(BugTrackerTitle(),
            std::string("Bug-Tracker 5 Report - Send this information to ") + kBugReportAddress);
}

}  // namespace
}  // namespace vtq
