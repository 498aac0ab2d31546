// The report "Split now!" shows for run-time error 5: its lines, exactly,
// and the boxes around it.
#include "app/window_commands/split_error_report.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/program/bug_tracer.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

// A split with compression and BAT generation of a 1,000,000-byte cabinet,
// preset 1.44 MB, progress at 3 of 10.
model::MainWindowState CabinetWithBatchFile() {
  model::MainWindowState s;
  s.useCompression.checked = true;
  s.saveBat.checked = true;
  s.sizeMode = model::SizeMode::kPreset;
  s.cmbPreset.position = 1;
  s.progressBar1.value = 3;
  s.progressBar1.max = 10;
  return s;
}

SplitterFigures HighDensityOf(uint64_t firstFile) {
  SplitterFigures f;
  f.fragmentSize = 1457664;
  f.fragmentSizeAtStart = 1457664;
  f.firstFileLength = firstFile;
  return f;
}

TEST(SplitErrorReport, LinesOfACabinetSplitWithBatchFile) {
  EXPECT_EQ(SplitErrorReportText(CabinetWithBatchFile(), HighDensityOf(1000000)),
            "Occurance: In FRM routine C7\r"
            "Fragment bytesize: 1457664\r"
            "iFragment bytesize: 1457664\r"
            "Flags: TrueFalseFalseFalseFalseTrue\r"
            "PB-Status: 3 / 10\r"
            "FL: 1000000");
}

TEST(SplitErrorReport, EachFlagHasItsPlace) {
  model::MainWindowState s;
  const auto flags = [&s] {
    const std::string text = SplitErrorReportText(s, HighDensityOf(1));
    const size_t at = text.find("Flags: ");
    return text.substr(at + 7, text.find('\r', at) - at - 7);
  };
  EXPECT_EQ(flags(), "FalseFalseFalseFalseFalseFalse");
  s.useEnc.checked = true;
  EXPECT_EQ(flags(), "FalseTrueFalseFalseFalseFalse");
  s.useEnc.checked = false;
  s.sizeMode = model::SizeMode::kCustom;
  EXPECT_EQ(flags(), "FalseFalseTrueFalseFalseFalse");
  s.sizeMode = model::SizeMode::kAutofill;  // only the custom size counts
  s.firstOverride.checked = true;
  EXPECT_EQ(flags(), "FalseFalseFalseTrueFalseFalse");
  s.firstOverride.checked = false;
  s.regenFragBool.checked = true;
  EXPECT_EQ(flags(), "FalseFalseFalseFalseTrueFalse");
}

TEST(SplitErrorReport, SizesAndProgressAsTheyStood) {
  model::MainWindowState s;
  s.progressBar1.value = 0;
  s.progressBar1.max = 2147483647;
  SplitterFigures f;
  f.fragmentSize = 10240;
  f.fragmentSizeAtStart = 104857600;
  f.firstFileLength = 0;  // the file has gone since
  EXPECT_EQ(SplitErrorReportText(s, f),
            "Occurance: In FRM routine C7\r"
            "Fragment bytesize: 10240\r"
            "iFragment bytesize: 104857600\r"
            "Flags: FalseFalseFalseFalseFalseFalse\r"
            "PB-Status: 0 / 2147483647\r"
            "FL: 0");
}

TEST(SplitErrorReport, NoticeThenReport) {
  test::RecordingBoxes boxes;
  ShowSplitErrorReport(CabinetWithBatchFile(), HighDensityOf(1000000), boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, kBugTracerNoticeText);
  EXPECT_EQ(boxes.shown[0].title, "Runtime error 5 intercepted");
  EXPECT_EQ(boxes.shown[0].style, mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(boxes.shown[1].text,
            SplitErrorReportText(CabinetWithBatchFile(), HighDensityOf(1000000)));
  EXPECT_EQ(boxes.shown[1].title, BugTrackerTitle());
  EXPECT_EQ(boxes.shown[1].title.rfind("Bug-Tracker 5 Report - Send this information to ", 0), 0u);
  EXPECT_EQ(boxes.shown[1].style, mb::kOk | mb::kIconInformation);
}

TEST(SplitErrorReport, AnEmptyListSuggestsTheTemporaryDrive) {
  test::RecordingBoxes boxes;
  SplitterFigures empty = HighDensityOf(0);
  empty.firstFileLength.reset();
  ShowSplitErrorReport(CabinetWithBatchFile(), empty, boxes);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].title, "Runtime error 5 intercepted");
  EXPECT_EQ(boxes.shown[1].text,
            "NOTE: You may be low on hard disk space on your temporary drive (usually C:\\) - "
            "this could be the cause of the error.");
  EXPECT_EQ(boxes.shown[1].title, "Suggested cause of error");
  EXPECT_EQ(boxes.shown[1].style, mb::kOk | mb::kIconInformation);
  const std::string& report = boxes.shown[2].text;
  const std::string ending = "PB-Status: 3 / 10\rVirtual collection empty";
  ASSERT_GE(report.size(), ending.size());
  EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
  EXPECT_EQ(boxes.shown[2].title, BugTrackerTitle());
}

}  // namespace
}  // namespace vtq
