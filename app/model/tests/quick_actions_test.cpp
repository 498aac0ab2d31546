// The command line and drops: what they preselect, which question they ask
// and what its Yes runs; paths with blanks.
#include <gtest/gtest.h>

#include "app/model/command_line.h"
#include "app/model/main_window_model.h"
#include "app/model/tests/fake_paths.h"

namespace vtq::model {
namespace {

constexpr unsigned kQuestion = mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2;

class QuickActionsTest : public ::testing::Test {
 protected:
  test::FakePaths paths_;
  MainWindowModel model_{paths_};
  const MainWindowState& S() const { return model_.State(); }

  void ExpectQuestion(const std::optional<Prompt>& prompt, std::wstring_view text,
                      std::wstring_view title, QuickCommand onYes) {
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->text, text);
    EXPECT_EQ(prompt->title, title);
    EXPECT_EQ(prompt->style, kQuestion);
    EXPECT_EQ(prompt->onYes, onYes);
  }
};

constexpr std::wstring_view kSplitFile =
    L"Would you like to split this file right now using the current settings?";
constexpr std::wstring_view kSplitFolder =
    L"Would you like to split this folder right now using the current settings?";
constexpr std::wstring_view kAssemble =
    L"Would you like to assemble / extract this file right now?";

TEST(MakeCabWithoutPath, EndsTheProgramWithItsMessage) {
  const auto prompt = MakeCabWithoutPath(L"  /makecab ");
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->text, L"Sorry but you may not convert the selected folder into a CAB file");
  EXPECT_EQ(prompt->title, L"Sorry");
  EXPECT_EQ(prompt->style, mb::kOk | mb::kIconCritical);
  EXPECT_FALSE(MakeCabWithoutPath(L"/makecab C:\\x"));
  EXPECT_FALSE(MakeCabWithoutPath(L"/MAKECAB"));
  EXPECT_FALSE(MakeCabWithoutPath(L""));
}

TEST(ProgramArguments, WhatFollowsTheProgramName) {
  EXPECT_EQ(ProgramArguments(L"Harrowdel.exe"), L"");
  EXPECT_EQ(ProgramArguments(L"Harrowdel.exe   /assext C:\\a.001"), L"/assext C:\\a.001");
  EXPECT_EQ(ProgramArguments(L"\"C:\\Program Files\\Harrowdel.exe\" C:\\My Data\\"),
            L"C:\\My Data\\");
  EXPECT_EQ(ProgramArguments(L"\"C:\\Program Files\\Harrowdel.exe\""), L"");
  EXPECT_EQ(ProgramArguments(L"\"C:\\unclosed /makecab"), L"");
  EXPECT_EQ(ProgramArguments(L"C:\\vtq\\Harrowdel.exe\t/makecab "), L"/makecab ");
  EXPECT_EQ(ProgramArguments(L""), L"");
}

TEST(ParseCommandLine, FieldsAndPathsWithBlanks) {
  auto none = [](std::wstring_view) { return false; };
  EXPECT_FALSE(ParseCommandLine(L"", none));
  EXPECT_FALSE(ParseCommandLine(L"   ", none));
  auto one = ParseCommandLine(L" C:\\a.txt ", none);
  EXPECT_EQ(one->verb, L"C:\\a.txt");
  EXPECT_EQ(one->path, L"C:\\a.txt");
  // Nothing exists and nothing is quoted: the last field stands.
  auto last = ParseCommandLine(L"/assext C:\\My Documents\\a.001", none);
  EXPECT_EQ(last->verb, L"/assext");
  EXPECT_EQ(last->path, L"Documents\\a.001");

  auto quoted = ParseCommandLine(L"\"C:\\My Documents\\report.doc\"", none);
  EXPECT_EQ(quoted->path, L"C:\\My Documents\\report.doc");
  auto quotedAfterVerb = ParseCommandLine(L"/makecab  \"C:\\My Data\\\"", none);
  EXPECT_EQ(quotedAfterVerb->verb, L"/makecab");
  EXPECT_EQ(quotedAfterVerb->path, L"C:\\My Data\\");
  auto unclosed = ParseCommandLine(L"/assext \"C:\\x y.001", none);
  EXPECT_EQ(unclosed->path, L"C:\\x y.001");

  auto exists = [](std::wstring_view p) {
    return p == L"C:\\My Documents\\report.doc" || p == L"C:\\a b\\s.001";
  };
  EXPECT_EQ(ParseCommandLine(L"C:\\My Documents\\report.doc", exists)->path,
            L"C:\\My Documents\\report.doc");
  auto afterVerb = ParseCommandLine(L"/assext C:\\a b\\s.001", exists);
  EXPECT_EQ(afterVerb->verb, L"/assext");
  EXPECT_EQ(afterVerb->path, L"C:\\a b\\s.001");
}

TEST_F(QuickActionsTest, AssembleVerb) {
  paths_.files.insert(L"C:\\My Files\\s.001");
  ExpectQuestion(model_.InterpretCommandLine(L"/assext \"C:\\My Files\\s.001\""), kAssemble,
                 L"QuickAssemble", QuickCommand::kAssemble);
  EXPECT_EQ(S().filesToAssemble, std::vector<std::wstring>{L"C:\\My Files\\s.001"});
  EXPECT_EQ(S().assembleDestination, L"C:\\My Files\\");
  EXPECT_EQ(S().light3, kLampGreen);
  EXPECT_EQ(S().light4, kLampGreen);
  EXPECT_EQ(S().light1, kLampDarkRed);
}

TEST_F(QuickActionsTest, FolderWithAndWithoutMakeCab) {
  paths_.folders.insert(L"C:\\Data\\");
  ExpectQuestion(model_.InterpretCommandLine(L"C:\\Data\\"), kSplitFolder, L"QuickSplit",
                 QuickCommand::kSplit);
  EXPECT_EQ(S().folderToSplit, L"C:\\Data");
  EXPECT_EQ(S().splitDestination, L"C:\\");
  EXPECT_EQ(S().light1, kLampGreen);
  EXPECT_EQ(S().light2, kLampGreen);
  EXPECT_EQ(S().folderIndicator, kLampGreen);
  EXPECT_EQ(S().fileIndicator, kLampDarkRed);

  paths_.folders.insert(L"D:\\My Data");
  ExpectQuestion(model_.InterpretCommandLine(L"/makecab D:\\My Data"),
                 L"Would you like to make the CAB right now using the current settings?",
                 L"QuickCAB", QuickCommand::kMakeCab);
  EXPECT_EQ(S().folderToSplit, L"D:\\My Data");
  EXPECT_EQ(S().splitDestination, L"D:\\");

  paths_.folders.insert(L"E:\\");
  model_.InterpretCommandLine(L"/makecab E:\\");
  EXPECT_TRUE(S().splitDestination.empty());

  // Any other first field with a folder is a plain folder argument.
  ExpectQuestion(model_.InterpretCommandLine(L"/open C:\\Data\\"), kSplitFolder, L"QuickSplit",
                 QuickCommand::kSplit);
}

TEST_F(QuickActionsTest, FilesAndCabinets) {
  ExpectQuestion(model_.InterpretCommandLine(L"/makecab C:\\in\\notes.txt"), kSplitFile,
                 L"QuickSplit", QuickCommand::kSplit);
  EXPECT_EQ(S().fileToSplit, L"C:\\in\\notes.txt");
  EXPECT_EQ(S().filesToSplit, std::vector<std::wstring>{L"C:\\in\\notes.txt"});
  EXPECT_EQ(S().splitDestination, L"C:\\in\\");
  EXPECT_EQ(S().fileIndicator, kLampGreen);
  EXPECT_EQ(S().folderIndicator, kLampDarkRed);
  EXPECT_TRUE(S().useCompression.enabled);

  model_.CheckBoxClicked(Control::kUseCompression, true);
  model_.InterpretCommandLine(L"C:\\in\\Pack.CaB");
  EXPECT_FALSE(S().useCompression.checked);
  EXPECT_FALSE(S().useCompression.enabled);
  model_.InterpretCommandLine(L"C:\\in\\x.zip");
  EXPECT_TRUE(S().useCompression.enabled);
}

TEST_F(QuickActionsTest, PathsWithBlanksStayWhole) {
  paths_.files.insert(L"C:\\My Documents\\report.doc");
  model_.InterpretCommandLine(L"C:\\My Documents\\report.doc");
  EXPECT_EQ(S().fileToSplit, L"C:\\My Documents\\report.doc");
  EXPECT_EQ(S().splitDestination, L"C:\\My Documents\\");
  model_.InterpretCommandLine(L"\"C:\\Other Place\\x.bin\"");
  EXPECT_EQ(S().fileToSplit, L"C:\\Other Place\\x.bin");
  EXPECT_EQ(S().splitDestination, L"C:\\Other Place\\");
}

TEST_F(QuickActionsTest, EmptyCommandLineChangesNothing) {
  EXPECT_EQ(model_.InterpretCommandLine(L""), std::nullopt);
  EXPECT_EQ(model_.InterpretCommandLine(L"  "), std::nullopt);
  EXPECT_EQ(S().light1, kLampDarkRed);
}

TEST_F(QuickActionsTest, DropEffectIsCopyForExactlyOneEntry) {
  EXPECT_EQ(DragOverEffect({L"C:\\a"}), DropEffect::kCopy);
  EXPECT_EQ(DragOverEffect({}), DropEffect::kNone);
  EXPECT_EQ(DragOverEffect({L"C:\\a", L"C:\\b"}), DropEffect::kNone);
}

TEST_F(QuickActionsTest, TwoFilesDoNothing) {
  EXPECT_EQ(model_.Drop({L"C:\\a.txt", L"C:\\b.txt"}), std::nullopt);
  EXPECT_EQ(S().light1, kLampDarkRed);
  EXPECT_TRUE(S().fileToSplit.empty());
}

TEST_F(QuickActionsTest, SeriesDropAsksOnlyWithADestination) {
  EXPECT_EQ(model_.Drop({L"C:\\in\\series.001"}), std::nullopt);
  EXPECT_EQ(S().light3, kLampGreen);
  EXPECT_EQ(S().filesToAssemble, std::vector<std::wstring>{L"C:\\in\\series.001"});
  EXPECT_TRUE(S().assembleDestination.empty());
  model_.AssembleDestinationChosen(L"D:\\");
  ExpectQuestion(model_.Drop({L"C:\\in\\BOX.CAB"}), kAssemble, L"QuickAssemble",
                 QuickCommand::kAssemble);
  EXPECT_EQ(S().filesToAssemble, std::vector<std::wstring>{L"C:\\in\\BOX.CAB"});
  EXPECT_EQ(S().assembleDestination, L"D:\\");
}

TEST_F(QuickActionsTest, FileAndFolderDropsNeverChangeTheDestination) {
  model_.FileToSplitChosen(L"C:\\x.cab");  // compression disabled
  EXPECT_EQ(model_.Drop({L"C:\\in\\movie.avi"}), std::nullopt);
  EXPECT_EQ(S().fileToSplit, L"C:\\in\\movie.avi");
  EXPECT_EQ(S().filesToSplit, std::vector<std::wstring>{L"C:\\in\\movie.avi"});
  EXPECT_TRUE(S().useCompression.enabled);
  EXPECT_TRUE(S().splitDestination.empty());
  EXPECT_EQ(S().light2, kLampDarkRed);

  model_.SplitDestinationChosen(L"E:\\out\\");
  paths_.folders.insert(L"C:\\Pics\\");
  ExpectQuestion(model_.Drop({L"C:\\Pics\\"}), kSplitFolder, L"QuickSplit", QuickCommand::kSplit);
  EXPECT_EQ(S().folderToSplit, L"C:\\Pics");
  EXPECT_EQ(S().folderIndicator, kLampGreen);
  EXPECT_EQ(S().fileIndicator, kLampDarkRed);
  EXPECT_EQ(S().splitDestination, L"E:\\out\\");
  ExpectQuestion(model_.Drop({L"C:\\in\\movie.avi"}), kSplitFile, L"QuickSplit",
                 QuickCommand::kSplit);
}

}  // namespace
}  // namespace vtq::model
