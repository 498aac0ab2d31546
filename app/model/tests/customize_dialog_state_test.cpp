// The Customize dialog's state over the in-memory settings store: what it
// shows on opening, what Save writes, and the defaults button's questions
// and writes, with every message checked word for word.
#include "app/model/customize_dialog_state.h"

#include <gtest/gtest.h>

#include "engine/tests/support/platform_doubles.h"

namespace vtq::model {
namespace {

using settings::kProgramKey;

constexpr const char* kDefaultsQuestion =
    "The current program settings will be stored as the default right now. This will cause the "
    "default fragment size and other settings to start up as they are now, next time you load the "
    "program. Are you sure you wish to continue?";
constexpr const char* kPassphraseQuestion =
    "Would you like your current encryption settings (including passphrase) to be saved as the "
    "default? Warning: Your passphrase will be stored as plain text if you select yes.";

class CustomizeDialog : public ::testing::Test {
 protected:
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  test::RecordingBoxes boxes_;

  std::optional<std::wstring> Stored(std::wstring_view name) {
    return values_.Find(kProgramKey, name);
  }

  static MainWindowDefaults SomeWindow() {
    MainWindowDefaults window;
    window.useCompression = true;
    window.saveBat = false;
    window.useEncryption = true;
    window.passphrase = L"open sesame";
    window.customSize = L" 12.7 ";
    window.customSizeUnits = 2;
    window.firstOverride = true;
    window.firstOverrideValue = L"5";
    window.firstOverrideUnits = 6;
    window.presetPosition = 3;
    window.sizeMode = SizeModeChoice::kCustom;
    window.useRecovery = true;
    window.recoveryPercent = L"15";
    return window;
  }
};

TEST_F(CustomizeDialog, OpensOnAnEmptyStoreWithDemonicEnglishAndSounds) {
  CustomizeDialogState state(store_, boxes_, 0);
  EXPECT_EQ(state.Theme(), 1);
  EXPECT_EQ(state.Language(), 0);
  EXPECT_TRUE(state.SoundsEnabled());
  EXPECT_EQ(state.ThemeLabel(), L"Color theme:");
  EXPECT_EQ(state.Description(), L"Vantrelloquin will have green text on black background.");
  EXPECT_TRUE(values_.Empty());
}

TEST_F(CustomizeDialog, ListsAndDescriptionsAreTheDesignedTexts) {
  EXPECT_EQ(CustomizeDialogState::ThemeNames(),
            (std::vector<std::wstring>{L"Windows default", L"Demonic", L"Blood", L"Angelic",
                                       L"Golden Sunshine"}));
  EXPECT_EQ(CustomizeDialogState::LanguageNames(),
            (std::vector<std::wstring>{L"English US", L"Vreaky", L"English UK"}));
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(0),
            L"Vantrelloquin will look like all your other windows.");
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(2), L"Very, very red....");
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(3),
            L"Black text on a white background - kinda like many windows 3.1 programs.");
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(4), L"Yellow text on a dark-yellow background");
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(5), L"");
  EXPECT_EQ(CustomizeDialogState::ThemeDescription(-1), L"");
}

TEST_F(CustomizeDialog, ThemeLabelFollowsTheCurrentLanguageNotTheSelection) {
  EXPECT_EQ(CustomizeDialogState(store_, boxes_, 2).ThemeLabel(), L"Colour theme:");
  EXPECT_EQ(CustomizeDialogState(store_, boxes_, 1).ThemeLabel(), L"Color theme:");
  CustomizeDialogState state(store_, boxes_, 0);
  state.SelectLanguage(2);
  EXPECT_EQ(state.ThemeLabel(), L"Color theme:");
}

TEST_F(CustomizeDialog, JokeLanguageSelectionAppendsTheVyleSentence) {
  CustomizeDialogState state(store_, boxes_, 0);
  state.SelectTheme(2);
  state.SelectLanguage(1);
  EXPECT_EQ(state.Description(), L"Very, very red.... 'File' will be replaced by 'Vyle'.");
  state.SelectLanguage(2);
  EXPECT_EQ(state.Description(), L"Very, very red....");
}

TEST_F(CustomizeDialog, StoredValuesOutOfRangeOpenAsThemeOneAndEnglishUs) {
  values_.Write(kProgramKey, L"Theme", L"9");
  EXPECT_EQ(CustomizeDialogState(store_, boxes_, 5).Theme(), 1);
  values_.Write(kProgramKey, L"Theme", L"-2");
  EXPECT_EQ(CustomizeDialogState(store_, boxes_, -1).Language(), 0);
  values_.Write(kProgramKey, L"Theme", L"3");
  values_.Write(kProgramKey, L"UseSounds", L"0");
  CustomizeDialogState state(store_, boxes_, 2);
  EXPECT_EQ(state.Theme(), 3);
  EXPECT_EQ(state.Language(), 2);
  EXPECT_FALSE(state.SoundsEnabled());
}

TEST_F(CustomizeDialog, ThemeFallsBackToTheApplicationSetting) {
  store_.WriteAppSetting(settings::kApplicationName, L"Settings", L"Theme", L"4");
  EXPECT_EQ(CustomizeDialogState(store_, boxes_, 0).Theme(), 4);
}

TEST_F(CustomizeDialog, SaveWritesThemeLanguageAndSoundsAsText) {
  CustomizeDialogState state(store_, boxes_, 0);
  state.SelectTheme(4);
  state.SelectLanguage(2);
  state.SetSoundsEnabled(false);
  EXPECT_EQ(state.Save(), 2);
  EXPECT_EQ(Stored(L"Theme"), L"4");
  EXPECT_EQ(Stored(L"Language"), L"2");
  EXPECT_EQ(Stored(L"UseSounds"), L"0");
  EXPECT_TRUE(boxes_.shown.empty());

  state.SelectTheme(0);
  state.SelectLanguage(0);
  state.SetSoundsEnabled(true);
  EXPECT_EQ(state.Save(), 0);
  EXPECT_EQ(Stored(L"Theme"), L"0");
  EXPECT_EQ(Stored(L"UseSounds"), L"1");
}

TEST_F(CustomizeDialog, SaveWithNoLanguageSelectedMakesEnglishUsCurrent) {
  CustomizeDialogState state(store_, boxes_, 1);
  state.SelectLanguage(-1);
  EXPECT_EQ(state.Save(), 0);
}

TEST_F(CustomizeDialog, DroppingTheStateWithoutSaveWritesNothing) {
  {
    CustomizeDialogState state(store_, boxes_, 0);
    state.SelectTheme(3);
    state.SetSoundsEnabled(false);
  }
  EXPECT_TRUE(values_.Empty());
}

TEST_F(CustomizeDialog, DefaultsButtonAnsweredNoWritesNothing) {
  CustomizeDialogState state(store_, boxes_, 0);
  boxes_.Answer(mb::kIdNo);
  state.StoreDefaults(SomeWindow());
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, kDefaultsQuestion);
  EXPECT_EQ(boxes_.shown[0].title, "Are you sure?");
  EXPECT_EQ(boxes_.shown[0].Buttons(), mb::kYesNo);
  EXPECT_EQ(boxes_.shown[0].Icon(), mb::kIconQuestion);
  EXPECT_TRUE(values_.Empty());

  boxes_.Answer(mb::kIdCancel);  // Esc on a Yes/No box
  state.StoreDefaults(SomeWindow());
  EXPECT_TRUE(values_.Empty());
}

TEST_F(CustomizeDialog, DefaultsButtonStoresEveryFieldAndThePassphraseOnConsent) {
  CustomizeDialogState state(store_, boxes_, 0);
  boxes_.Answer(mb::kIdYes);
  boxes_.Answer(mb::kIdYes);
  state.StoreDefaults(SomeWindow());

  ASSERT_EQ(boxes_.shown.size(), 3u);
  EXPECT_EQ(boxes_.shown[1].text, kPassphraseQuestion);
  EXPECT_EQ(boxes_.shown[1].title, "Store default passphrase?");
  EXPECT_EQ(boxes_.shown[1].Buttons(), mb::kYesNo);
  EXPECT_EQ(boxes_.shown[1].Icon(), mb::kIconQuestion);
  EXPECT_EQ(boxes_.shown[1].DefaultButton(), mb::kDefaultButton2);
  EXPECT_EQ(boxes_.shown[2].text, "Saved settings successfully!");
  EXPECT_EQ(boxes_.shown[2].title, "Done");
  EXPECT_EQ(boxes_.shown[2].Buttons(), mb::kOk);
  EXPECT_EQ(boxes_.shown[2].Icon(), mb::kIconInformation);

  EXPECT_EQ(Stored(L"UseCompression"), L"1");
  EXPECT_EQ(Stored(L"UseBATGen"), L"0");
  EXPECT_EQ(Stored(L"UseEncryption"), L"1");
  EXPECT_EQ(Stored(L"DefaultPassphrase"), L"open sesame");
  EXPECT_EQ(Stored(L"CustomSize"), L" 12.7 ");  // stored as it stands
  EXPECT_EQ(Stored(L"CustomSizeUnits"), L"2");
  EXPECT_EQ(Stored(L"MultiSizeEnabled"), L"1");
  EXPECT_EQ(Stored(L"MultiSizeValue"), L"5");
  EXPECT_EQ(Stored(L"MultiSizeUnits"), L"6");
  EXPECT_EQ(Stored(L"FragSizePreset"), L"3");
  EXPECT_EQ(Stored(L"FragSizeMode"), L"Custom");
  EXPECT_EQ(Stored(L"UseRecovery"), L"1");
  EXPECT_EQ(Stored(L"RecoveryPercent"), L"15");
}

TEST_F(CustomizeDialog, DecliningThePassphraseRemovesAStoredOne) {
  values_.Write(kProgramKey, L"DefaultPassphrase", L"old secret");
  values_.Write(kProgramKey, L"UseEncryption", L"1");
  CustomizeDialogState state(store_, boxes_, 0);
  boxes_.Answer(mb::kIdYes);
  boxes_.Answer(mb::kIdNo);
  state.StoreDefaults(SomeWindow());
  EXPECT_EQ(Stored(L"UseEncryption"), L"0");
  EXPECT_EQ(Stored(L"DefaultPassphrase"), std::nullopt);
  EXPECT_EQ(boxes_.shown.back().text, "Saved settings successfully!");
}

TEST_F(CustomizeDialog, WithoutEncryptionThePassphraseIsNotAskedAndIsRemoved) {
  values_.Write(kProgramKey, L"DefaultPassphrase", L"old secret");
  CustomizeDialogState state(store_, boxes_, 0);
  auto window = SomeWindow();
  window.useEncryption = false;
  boxes_.Answer(mb::kIdYes);
  state.StoreDefaults(window);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text, "Saved settings successfully!");
  EXPECT_EQ(Stored(L"UseEncryption"), L"0");
  EXPECT_EQ(Stored(L"DefaultPassphrase"), std::nullopt);
}

TEST_F(CustomizeDialog, SizeModeIsStoredByName) {
  CustomizeDialogState state(store_, boxes_, 0);
  auto window = SomeWindow();
  window.useEncryption = false;
  const std::pair<SizeModeChoice, const wchar_t*> modes[] = {
      {SizeModeChoice::kPreset, L"Preset"},
      {SizeModeChoice::kAutofill, L"Autofill"},
      {SizeModeChoice::kCustom, L"Custom"}};
  for (const auto& [mode, name] : modes) {
    window.sizeMode = mode;
    boxes_.Answer(mb::kIdYes);
    state.StoreDefaults(window);
    EXPECT_EQ(Stored(L"FragSizeMode"), name);
  }
}

}  // namespace
}  // namespace vtq::model
