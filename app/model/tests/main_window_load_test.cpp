// The main window's load and unload driven through a view that records
// what it is asked to do, in order.
#include "app/model/main_window_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "app/model/tests/fake_paths.h"

namespace vtq::model {
namespace {

constexpr std::wstring_view kLoadSoundKey =
    L"AppEvents\\Schemes\\Apps\\Zorbikant\\WexlorProgload\\.Current";
constexpr std::wstring_view kExitSoundKey =
    L"AppEvents\\Schemes\\Apps\\Zorbikant\\WexlorProgexit\\.Current";

std::wstring Lamp(int32_t colour) {
  return colour == kLampGreen ? L"G" : colour == kLampDarkRed ? L"r" : L"?";
}

// One log for the view and the player, so that the order across both shows.
class RecordingView final : public MainWindowView, public SoundPlayer {
 public:
  std::vector<std::wstring> log;
  std::deque<int> answers;  // none left: the box's No / OK
  std::vector<MainWindowState> rendered;
  std::vector<Prompt> asked;

  void ApplyTheme() override { log.push_back(L"theme"); }
  void Render(const MainWindowState& state) override {
    rendered.push_back(state);
    log.push_back(L"render " + state.captions.frame3 + L" " + Lamp(state.light1) +
                  Lamp(state.light2) + Lamp(state.light3) + Lamp(state.light4));
  }
  void MoveFocus(Control control) override {
    log.push_back(L"focus " + std::to_wstring(static_cast<int>(control)));
  }
  void FillLists() override { log.push_back(L"lists"); }
  void Show() override { log.push_back(L"show"); }
  int Ask(const Prompt& prompt) override {
    asked.push_back(prompt);
    log.push_back(L"ask " + prompt.title);
    if (answers.empty())
      return (prompt.style & mb::kButtonsMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void RunQuickCommand(QuickCommand command) override {
    log.push_back(L"run " + std::to_wstring(static_cast<int>(command)));
  }
  void EndProgram() override { log.push_back(L"end"); }
  void Play(std::wstring_view file, bool synchronous) override {
    log.push_back(std::wstring(synchronous ? L"play-sync " : L"play ") + std::wstring(file));
  }
};

std::wstring RunEntry(QuickCommand command) {
  return L"run " + std::to_wstring(static_cast<int>(command));
}

class MainWindowLoadTest : public ::testing::Test {
 protected:
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  test::FakePaths paths_;
  MainWindowModel model_{paths_};
  RecordingView view_;

  bool Load(std::wstring_view commandLine, int language = kLanguageEnglishUs) {
    return LoadMainWindow(model_, view_, store_, view_,
                          LoadInputs{commandLine, language, L"C:\\Program\\"});
  }
};

TEST_F(MainWindowLoadTest, RunsItsStepsInOrder) {
  store_.Write(kLoadSoundKey, L"", L"C:\\Sounds\\start.wav");
  store_.WriteProgram(L"FragSizeMode", L"Custom");
  paths_.files.insert(L"C:\\in\\a.txt");
  ASSERT_TRUE(Load(L"C:\\in\\a.txt"));
  const std::vector<std::wstring> expected = {
      L"theme",
      L"render Fragment Sizes rrrr",  // the captions, before anything is visible
      L"play C:\\Sounds\\start.wav",  // asynchronous
      L"lists",
      L"show",
      L"render Fragment Sizes rrrr",  // the stored defaults
      L"focus " + std::to_wstring(static_cast<int>(Control::kCustomSize)),
      L"render Fragment Sizes GGrr",  // the command line's choice, shown before the question
      L"ask QuickSplit",
  };
  EXPECT_EQ(view_.log, expected);
  EXPECT_EQ(view_.rendered[1].sizeMode, SizeMode::kCustom);
  EXPECT_TRUE(view_.rendered[1].customSize.enabled);
  EXPECT_EQ(view_.rendered[1].customSize.text, L"1423");
}

TEST_F(MainWindowLoadTest, MakeCabAloneEndsWithoutWindowOrSound) {
  store_.Write(kLoadSoundKey, L"", L"C:\\Sounds\\start.wav");
  store_.Write(kExitSoundKey, L"", L"C:\\Sounds\\exit.wav");
  EXPECT_FALSE(Load(L"  /makecab  "));
  EXPECT_EQ(view_.log, (std::vector<std::wstring>{L"ask Sorry", L"end"}));
  ASSERT_EQ(view_.asked.size(), 1u);
  EXPECT_EQ(view_.asked[0].text,
            L"Sorry but you may not convert the selected folder into a CAB file");
  EXPECT_EQ(view_.asked[0].style, mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(view_.rendered.empty());
}

TEST_F(MainWindowLoadTest, EachQuickActionRunsOnYesOnly) {
  paths_.files.insert(L"C:\\in\\a.txt");
  paths_.files.insert(L"C:\\in\\s.001");
  paths_.folders.insert(L"C:\\in\\Data");
  struct Case {
    std::wstring_view commandLine;
    std::wstring_view title;
    QuickCommand command;
  };
  const Case cases[] = {
      {L"C:\\in\\a.txt", L"QuickSplit", QuickCommand::kSplit},
      {L"C:\\in\\Data", L"QuickSplit", QuickCommand::kSplit},
      {L"/makecab C:\\in\\Data", L"QuickCAB", QuickCommand::kMakeCab},
      {L"/makecab C:\\in\\a.txt", L"QuickSplit", QuickCommand::kSplit},
      {L"/assext C:\\in\\s.001", L"QuickAssemble", QuickCommand::kAssemble},
  };
  for (const Case& c : cases) {
    for (const int answer : {mb::kIdYes, mb::kIdNo, mb::kIdCancel}) {
      SCOPED_TRACE(std::wstring(c.commandLine) + L" " + std::to_wstring(answer));
      MainWindowModel model(paths_);
      RecordingView view;
      view.answers = {answer};
      ASSERT_TRUE(LoadMainWindow(model, view, store_, view, LoadInputs{c.commandLine, 0, L""}));
      ASSERT_EQ(view.asked.size(), 1u);
      EXPECT_EQ(view.asked[0].title, c.title);
      EXPECT_EQ(view.asked[0].style, mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2);
      const bool ran =
          std::find(view.log.begin(), view.log.end(), RunEntry(c.command)) != view.log.end();
      EXPECT_EQ(ran, answer == mb::kIdYes);
      // The command ran inside the load, after the question, and the window
      // shows what it left.
      if (ran) {
        EXPECT_EQ(view.log[view.log.size() - 2], RunEntry(c.command));
        EXPECT_EQ(view.log.back().substr(0, 6), L"render");
      } else {
        EXPECT_EQ(view.log.back(), L"ask " + std::wstring(c.title));
      }
    }
  }
}

TEST_F(MainWindowLoadTest, NoCommandLineAsksNothing) {
  ASSERT_TRUE(Load(L"   "));
  EXPECT_TRUE(view_.asked.empty());
  EXPECT_EQ(view_.log.back(), L"render Fragment Sizes rrrr");
}

TEST_F(MainWindowLoadTest, SoundsOffPlaysNothingAtLoadOrUnload) {
  store_.Write(kLoadSoundKey, L"", L"C:\\Sounds\\start.wav");
  store_.Write(kExitSoundKey, L"", L"C:\\Sounds\\exit.wav");
  store_.WriteProgram(L"UseSounds", L"0");
  ASSERT_TRUE(Load(L""));
  UnloadMainWindow(store_, view_, L"C:\\Program");
  for (const std::wstring& entry : view_.log)
    EXPECT_NE(entry.substr(0, 4), L"play") << entry;
}

TEST_F(MainWindowLoadTest, UnloadPlaysTheExitSoundToItsEnd) {
  store_.Write(kExitSoundKey, L"", L"C:\\Sounds\\exit.wav");
  UnloadMainWindow(store_, view_, L"C:\\Program");
  EXPECT_EQ(view_.log, (std::vector<std::wstring>{L"play-sync C:\\Sounds\\exit.wav"}));
  // No entry in the scheme: the exit has no default sound.
  settings::MemoryValues empty;
  settings::SettingsStore bare(empty);
  RecordingView quiet;
  UnloadMainWindow(bare, quiet, L"C:\\Program");
  EXPECT_TRUE(quiet.log.empty());
}

TEST_F(MainWindowLoadTest, FirstStartWithAnEmptyRegistry) {
  ASSERT_TRUE(Load(L""));
  UnloadMainWindow(store_, view_, L"C:\\Program");
  // Every value has its default, no sound is assigned, and nothing is written.
  EXPECT_TRUE(values_.Empty());
  for (const std::wstring& entry : view_.log)
    EXPECT_NE(entry.substr(0, 4), L"play") << entry;
  const MainWindowState& s = view_.rendered.back();
  EXPECT_EQ(s.sizeMode, SizeMode::kPreset);
  EXPECT_EQ(s.cmbPreset.position, 1);
  EXPECT_FALSE(s.customSize.enabled);
  EXPECT_EQ(s.custSizeUnits.position, 1);
  EXPECT_EQ(s.fOverrideUnits.position, 5);
  EXPECT_FALSE(s.useCompression.checked);
  EXPECT_FALSE(s.saveBat.checked);
  EXPECT_FALSE(s.useEnc.checked);
  EXPECT_FALSE(s.firstOverride.checked);
  EXPECT_EQ(s.captions, Captions{});
}

TEST_F(MainWindowLoadTest, CaptionsFollowTheLanguageFromTheFirstRender) {
  ASSERT_TRUE(Load(L"", kLanguageVreaky));
  EXPECT_EQ(view_.log[1], L"render Vragment Sizes rrrr");
  MainWindowModel model(paths_);
  RecordingView view;
  ASSERT_TRUE(LoadMainWindow(model, view, store_, view, LoadInputs{L"", 7, L""}));
  EXPECT_EQ(view.rendered.front().captions, Captions{});
  ASSERT_TRUE(LoadMainWindow(model, view, store_, view, LoadInputs{L"", 5, L""}));
  EXPECT_EQ(view.rendered.back().captions, Captions{});
}

TEST_F(MainWindowLoadTest, AStoredPassphraseComesBackOnlyWithItsBox) {
  store_.WriteProgram(L"DefaultPassphrase", L"Kestrel");
  ASSERT_TRUE(Load(L""));
  EXPECT_EQ(view_.rendered.back().passphrase.text, L"");
  store_.WriteProgram(L"UseEncryption", L"1");
  MainWindowModel model(paths_);
  RecordingView view;
  ASSERT_TRUE(LoadMainWindow(model, view, store_, view, LoadInputs{L"", 0, L""}));
  EXPECT_EQ(view.rendered.back().passphrase.text, L"Kestrel");
  EXPECT_TRUE(view.rendered.back().useEnc.checked);
}

TEST(AskAndAct, FocusFollowsTheBoxAndOnlyYesRuns) {
  test::FakePaths paths;
  MainWindowModel model(paths);
  RecordingView view;
  AskAndAct(model, view,
            FieldError(L"Please enter a value", L"Enter a value", Control::kCustomSize));
  EXPECT_EQ(view.log, (std::vector<std::wstring>{
                          L"ask Enter a value",
                          L"focus " + std::to_wstring(static_cast<int>(Control::kCustomSize))}));
  // Yes to a box that offers no command runs nothing.
  view.log.clear();
  view.answers = {mb::kIdYes};
  AskAndAct(model, view, Prompt{L"x", L"t", mb::kYesNo, std::nullopt, QuickCommand::kNone});
  EXPECT_EQ(view.log, (std::vector<std::wstring>{L"ask t"}));
}

}  // namespace
}  // namespace vtq::model
