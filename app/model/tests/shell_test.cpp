// Themes, event sounds, the start-up bookkeeping, the disk prompts and the
// shell's small texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/model/disk_prompts.h"
#include "app/model/event_sounds.h"
#include "app/model/shell_paths.h"
#include "app/model/start_up.h"
#include "app/model/themes.h"

namespace vtq::model {
namespace {

TEST(Themes, TableAndNumberRule) {
  EXPECT_EQ(ThemeNumber(9), 1);
  EXPECT_EQ(ThemeNumber(-2), 1);
  EXPECT_EQ(ThemeNumber(5), 1);
  EXPECT_EQ(ThemeNumber(0), 0);
  EXPECT_EQ(ThemeNumber(4), 4);
  EXPECT_EQ(ThemeOf(9).name, L"Demonic");
  EXPECT_EQ(ThemeOf(1).background.value, 0);
  EXPECT_EQ(ThemeOf(1).text.value, 65280);
  EXPECT_EQ(ThemeOf(2).background.value, 128);
  EXPECT_EQ(ThemeOf(2).text.value, 255);
  EXPECT_EQ(ThemeOf(3).background.value, 16777215);
  EXPECT_EQ(ThemeOf(4).background.value, 16448);
  EXPECT_EQ(ThemeOf(4).text.value, 65535);
  EXPECT_TRUE(ThemeOf(0).background.system);
  EXPECT_EQ(ThemeOf(0).background.value, 15);
  EXPECT_EQ(ThemeOf(0).text.value, 18);
  EXPECT_EQ(ThemeOf(3).description,
            L"Black text on a white background - kinda like many windows 3.1 programs.");
  EXPECT_EQ(kThemes[4].name, L"Golden Sunshine");
}

TEST(Themes, ControlDecision) {
  CurrentThemeColours current;
  auto window = ThemeControl(current, false, L"", 65280, 0);
  ASSERT_TRUE(window);
  EXPECT_EQ(*window, (ColourPair{0, 65280}));
  // Controls ask for the current colours.
  EXPECT_EQ(ThemeControl(current, false, L"", kCurrentColour, kCurrentColour),
            (ColourPair{0, 65280}));
  EXPECT_EQ(ThemeControl(current, true, L"", kCurrentColour, kCurrentColour), std::nullopt);
  EXPECT_EQ(ThemeControl(current, false, L"themeimmune", 255, 128), std::nullopt);
  EXPECT_EQ(current.Colours(), (ColourPair{0, 65280}));  // an exempt control changes nothing
  EXPECT_TRUE(ThemeControl(current, false, L"ThemeImmune", kCurrentColour, kCurrentColour));
  EXPECT_EQ(ThemeControl(current, false, L"", 255, kCurrentColour), (ColourPair{0, 255}));
}

class RecordingPlayer final : public SoundPlayer {
 public:
  std::vector<std::pair<std::wstring, bool>> played;
  void Play(std::wstring_view file, bool synchronous) override {
    played.emplace_back(file, synchronous);
  }
};

class SoundsTest : public ::testing::Test {
 protected:
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  RecordingPlayer player_;
  void Assign(std::wstring_view event, std::wstring_view file) {
    store_.Write(L"AppEvents\\Schemes\\Apps\\Zorbikant\\" + std::wstring(event) + L"\\.Current",
                 L"", file);
  }
  void Play(std::wstring_view event) {
    PlayEventSound(store_, player_, event, L"C:\\Program Files\\Vantrelloquin\\");
  }
};

TEST_F(SoundsTest, DefaultsAndAssignedFiles) {
  Play(kSoundSplitFile);
  Play(kSoundAssFile);
  Play(kSoundProgLoad);
  Play(kSoundDoneWork);
  Play(kSoundCompress);
  Assign(kSoundProgExit, L"C:\\bye.wav");
  Assign(kSoundExtract, L"C:\\out.wav");
  Assign(kSoundAssFile, L"");  // set to nothing by the user
  Play(kSoundExtract);
  Play(kSoundAssFile);
  Play(kSoundProgExit);
  const std::wstring chainsaw = L"C:\\Program Files\\Vantrelloquin\\chainsaw.wav";
  const std::vector<std::pair<std::wstring, bool>> expected = {
      {chainsaw, false}, {chainsaw, false}, {L"C:\\out.wav", false}, {L"C:\\bye.wav", true}};
  EXPECT_EQ(player_.played, expected);
}

TEST_F(SoundsTest, OnlyTheNumericValueOneSwitchesSoundsOn) {
  Assign(kSoundProgLoad, L"C:\\hi.wav");
  for (const wchar_t* off : {L"0", L"2", L"1.4", L"", L"yes", L"0.6"}) {
    store_.WriteProgram(L"UseSounds", off);
    Play(kSoundSplitFile);
    Play(kSoundProgLoad);
    EXPECT_TRUE(player_.played.empty()) << off;
  }
  for (const wchar_t* on : {L"1", L" 1", L"1.0", L"1abc"}) {
    store_.WriteProgram(L"UseSounds", on);
    Play(kSoundProgLoad);
  }
  EXPECT_EQ(player_.played.size(), 4u);
}

TEST_F(SoundsTest, RegistrationWritesTheSixEntriesInOrder) {
  EXPECT_FALSE(SoundEventsRegistered(store_));
  EXPECT_TRUE(RegisterSoundEvents(store_));
  EXPECT_TRUE(SoundEventsRegistered(store_));
  EXPECT_EQ(store_.Read(L"AppEvents\\EventLabels\\WexlorAssfile", L"", L"-"), L"Assemble file");
  EXPECT_EQ(store_.Read(L"AppEvents\\EventLabels\\WexlorProgload", L"", L"-"),
            L"Start Vantrelloquin");
  EXPECT_EQ(store_.Read(L"AppEvents\\EventLabels\\WexlorProgexit", L"", L"-"),
            L"Exit Vantrelloquin");
  EXPECT_EQ(store_.Read(L"AppEvents\\EventLabels\\WexlorDonework", L"", L"-"), L"Finished task");
  EXPECT_EQ(store_.Read(L"AppEvents\\Schemes\\Apps\\Zorbikant", L"", L"-"),
            L"Quorvelle Vantrelloquin");
  EXPECT_EQ(kSoundSchemeEntries[0].key, L"AppEvents\\EventLabels\\WexlorSplitfile");
  EXPECT_EQ(kSoundSchemeEntries[5].key, L"AppEvents\\Schemes\\Apps\\Zorbikant");
}

// A registry that refuses writes below one key, as a key without write
// access would.
class RefusingValues final : public settings::RegistryValues {
 public:
  explicit RefusingValues(std::wstring refusedKey) : refused_(std::move(refusedKey)) {}
  std::optional<std::wstring> Find(std::wstring_view key, std::wstring_view name) override {
    return values_.Find(key, name);
  }
  bool Write(std::wstring_view key, std::wstring_view name, std::wstring_view text) override {
    return key != refused_ && values_.Write(key, name, text);
  }
  bool Remove(std::wstring_view key, std::wstring_view name) override {
    return values_.Remove(key, name);
  }
  std::wstring LastError() const override { return {}; }

 private:
  std::wstring refused_;
  settings::MemoryValues values_;
};

TEST(SoundRegistration, AWriteThatFailsLeavesTheCheckLabelOutSoTheNextStartTriesAgain) {
  RefusingValues values(L"AppEvents\\EventLabels\\WexlorDonework");
  settings::SettingsStore store(values);
  EXPECT_FALSE(RegisterSoundEvents(store));
  EXPECT_FALSE(SoundEventsRegistered(store));
  EXPECT_EQ(store.Read(L"AppEvents\\EventLabels\\WexlorAssfile", L"", L"-"), L"Assemble file");
}

TEST_F(SoundsTest, StartUpRegistersOnlyWhenTheCheckLabelIsNotExact) {
  int shown = 0;
  int closed = 0;
  const RegistrationHooks hooks{[&] { ++shown; }, [&] { ++closed; }};
  store_.WriteProgram(L"Language", L"5");
  EXPECT_EQ(StartUp(store_, {3, 2, 0}, hooks), 5);  // no range check
  EXPECT_EQ(store_.ReadAppSetting(L"Quorvelle Vantrelloquin", L"Installation", L"Version", L""),
            L"3.2.0");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(closed, 1);
  StartUp(store_, {3, 2, 1}, hooks);
  EXPECT_EQ(shown, 1);
  store_.Write(L"AppEvents\\EventLabels\\WexlorSplitfile", L"", L"split file");
  StartUp(store_, {3, 2, 1}, hooks);
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(SoundEventsRegistered(store_));
  store_.Remove(L"AppEvents\\EventLabels\\WexlorSplitfile", L"");
  StartUp(store_, {3, 2, 1});
  EXPECT_TRUE(SoundEventsRegistered(store_));
}

TEST(DiskPrompts, TextsTitleAndButtons) {
  const Prompt split = SplitterDiskPrompt(3);
  EXPECT_EQ(split.text, L"Please insert disk 3 and click ok");
  EXPECT_EQ(split.title, L"VazeVezazu");
  EXPECT_EQ(split.style, mb::kOkCancel | mb::kIconExclamation);
  const Prompt assemble = AssemblerDiskPrompt(12);
  EXPECT_EQ(assemble.text, L"Please insert the next disk (number 12) and click ok");
  EXPECT_EQ(assemble.style, mb::kOkCancel | mb::kIconExclamation);
  EXPECT_TRUE(CancelledBy(mb::kIdCancel));
  EXPECT_FALSE(CancelledBy(mb::kIdOk));
}

TEST(ShellPaths, TrailingBackslashFolderAndPassphraseTexts) {
  std::wstring path = L"C:\\a\\\\";
  StripTrailingBackslash(path);
  EXPECT_EQ(path, L"C:\\a\\");
  std::wstring none = L"C:\\a";
  StripTrailingBackslash(none);
  EXPECT_EQ(none, L"C:\\a");
  std::wstring empty;
  StripTrailingBackslash(empty);
  EXPECT_EQ(empty, L"");
  std::string ansi = "D:\\";
  StripTrailingBackslash(ansi);
  EXPECT_EQ(ansi, "D:");

  EXPECT_EQ(PassphraseDialogFor(PassphraseMode::kConfirm).title, L"Password Confirmation");
  EXPECT_EQ(PassphraseDialogFor(PassphraseMode::kConfirm).prompt,
            L"Before splitting takes place, please retype your password to confirm that you have "
            L"entered it correctly. Passwords are case-sensitive.");
  EXPECT_EQ(PassphraseDialogFor(PassphraseMode::kCheck).title, L"Security check");
  EXPECT_EQ(PassphraseDialogFor(PassphraseMode::kCheck).prompt,
            L"This fragment series has been encrypted. Please enter the correct password. "
            L"Passwords are case-sensitive.");
}

}  // namespace
}  // namespace vtq::model
