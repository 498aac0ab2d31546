// The engine's events as the main window answers them: progress in the
// state model, the next-disk boxes and the offer to format a full disk.
#include "app/window_commands/window_events.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/model/tests/fake_paths.h"

namespace vtq {
namespace {

class RecordingSink final : public WindowEventSink {
 public:
  std::deque<int> answers;  // none left: Cancel
  std::vector<model::Prompt> asked;
  struct Formatting {
    unsigned drive;
    unsigned formatId;
    unsigned options;
    bool operator==(const Formatting&) const = default;
  };
  std::vector<Formatting> formatted;
  int redraws = 0;

  int Ask(const model::Prompt& prompt) override {
    asked.push_back(prompt);
    if (answers.empty())
      return mb::kIdCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ProgressChanged() override { ++redraws; }
  void FormatDrive(unsigned drive, unsigned formatId, unsigned options) override {
    formatted.push_back({drive, formatId, options});
  }
};

class WindowEventsTest : public ::testing::Test {
 protected:
  model::test::FakePaths paths;
  model::MainWindowModel model{paths};
  RecordingSink sink;
};

TEST_F(WindowEventsTest, ProgressGoesToTheBarsOfTheModel) {
  WindowSplitterEvents split(model, sink, true);
  split.SplitStart(40);
  split.SplitInterval(12);
  EXPECT_EQ(model.State().progressBar1.max, 40);
  EXPECT_EQ(model.State().progressBar1.value, 12);
  WindowAssembleEvents assemble(model, sink);
  assemble.AssembleStart(7);
  assemble.AssembleInterval(3);
  EXPECT_EQ(model.State().progressBar2.max, 7);
  EXPECT_EQ(model.State().progressBar2.value, 3);
  EXPECT_EQ(model.State().progressBar1.value, 12);
  EXPECT_EQ(sink.redraws, 4);
}

TEST_F(WindowEventsTest, NextDiskBoxesCancelOnlyOnCancel) {
  WindowSplitterEvents split(model, sink, true);
  WindowAssembleEvents assemble(model, sink);
  sink.answers = {mb::kIdOk, mb::kIdCancel, mb::kIdOk, mb::kIdCancel};
  bool cancel = true;
  split.RequireNextDisk(2, cancel);
  EXPECT_FALSE(cancel);
  split.RequireNextDisk(3, cancel);
  EXPECT_TRUE(cancel);
  assemble.RequireNextDisk(4, cancel);
  EXPECT_FALSE(cancel);
  assemble.RequireNextDisk(5, cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(sink.asked.size(), 4u);
  EXPECT_EQ(sink.asked[0].text, L"Please insert disk 2 and click ok");
  EXPECT_EQ(sink.asked[2].text, L"Please insert the next disk (number 4) and click ok");
  for (const model::Prompt& prompt : sink.asked) {
    EXPECT_EQ(prompt.title, L"VazeVezazu");
    EXPECT_EQ(prompt.style, mb::kOkCancel | mb::kIconExclamation);
  }
}

TEST_F(WindowEventsTest, AFullDiskIsOfferedTheFormatDialog) {
  paths.removable.insert(L"B:");
  model.SplitDestinationChosen(L"b:\\");
  WindowSplitterEvents nt(model, sink, true);
  WindowSplitterEvents older(model, sink, false);
  sink.answers = {mb::kIdOk, mb::kIdOk, mb::kIdCancel};
  bool cancel = true;
  nt.NotEnoughDiskSpace(cancel);
  EXPECT_FALSE(cancel);
  cancel = true;
  older.NotEnoughDiskSpace(cancel);
  EXPECT_FALSE(cancel);
  nt.NotEnoughDiskSpace(cancel);
  EXPECT_TRUE(cancel);
  // The format identity 0, what the system's dialog is then called with.
  EXPECT_EQ(sink.formatted, (std::vector<RecordingSink::Formatting>{{1, 0, 1}, {1, 0, 0}}));
  ASSERT_EQ(sink.asked.size(), 3u);
  EXPECT_EQ(sink.asked[0].text,
            L"There is not enough disk space on the destination drive. Would you like to format "
            L"this disk now?");
  EXPECT_EQ(sink.asked[0].title, L"Not enough disk space");
  // Cancel is the default: the disk in the drive may hold the series so far.
  EXPECT_EQ(sink.asked[0].style, mb::kOkCancel | mb::kIconExclamation | mb::kDefaultButton2);
}

TEST(DriveNumberOf, LettersOnly) {
  EXPECT_EQ(DriveNumberOf(L"A:\\"), 0u);
  EXPECT_EQ(DriveNumberOf(L"z:\\x\\"), 25u);
  EXPECT_EQ(DriveNumberOf(L"\\\\server\\share\\"), std::nullopt);
  EXPECT_EQ(DriveNumberOf(L"1:\\"), std::nullopt);
  EXPECT_EQ(DriveNumberOf(L"A"), std::nullopt);
}

}  // namespace
}  // namespace vtq
