// The main window's rules: size modes and enabling, field validation with
// every message, the stored defaults at load, captions, selections and the
// engine's progress.
#include "app/model/main_window_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/model/tests/fake_paths.h"
#include "app/operations/fragment_sizes.h"

namespace vtq::model {
namespace {

class MainWindowModelTest : public ::testing::Test {
 protected:
  test::FakePaths paths_;
  MainWindowModel model_{paths_};
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};

  const MainWindowState& S() const { return model_.State(); }
  void Load() { model_.RestoreDefaults(store_); }
  void ExpectFieldError(const std::optional<Prompt>& prompt, std::wstring_view text,
                        std::wstring_view title, Control field) {
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->text, text);
    EXPECT_EQ(prompt->title, title);
    EXPECT_EQ(prompt->style, mb::kOk | mb::kIconCritical);
    EXPECT_EQ(prompt->focus, field);
    EXPECT_EQ(model_.TakeFocus(), field);
  }
  std::optional<Prompt> LeaveCustomSize(std::wstring text) {
    model_.TextChanged(Control::kCustomSize, std::move(text));
    return model_.FieldLeft(Control::kCustomSize);
  }
};

constexpr std::wstring_view kRange = L"Please use a fragment size between 10kb and 102400kb";

TEST_F(MainWindowModelTest, FirstStartWithAnEmptyStore) {
  Load();
  EXPECT_EQ(S().sizeMode, SizeMode::kPreset);
  EXPECT_EQ(S().cmbPreset.position, 1);
  EXPECT_EQ(S().customSize.text, L"1423");
  EXPECT_EQ(S().custSizeUnits.position, 1);
  EXPECT_FALSE(S().customSize.enabled);
  EXPECT_FALSE(S().custSizeUnits.enabled);
  EXPECT_EQ(S().firstOverrideValue.text, L"0");
  EXPECT_EQ(S().fOverrideUnits.position, 5);
  EXPECT_FALSE(S().firstOverride.checked);
  EXPECT_FALSE(S().firstOverrideValue.enabled);
  EXPECT_FALSE(S().useCompression.checked);
  EXPECT_FALSE(S().saveBat.checked);
  EXPECT_FALSE(S().useEnc.checked);
  EXPECT_EQ(S().passphrase.text, L"");
  EXPECT_EQ(S().captions, Captions{});
  for (int32_t lamp :
       {S().light1, S().light2, S().light3, S().light4, S().fileIndicator, S().folderIndicator}) {
    EXPECT_EQ(lamp, 192);
  }
  EXPECT_EQ(model_.CustomBytes(), 1457152);
  // "0 kb smaller" than the preset in force, 1.44 MB.
  EXPECT_EQ(model_.FirstOverrideBytes(), 1457664);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
  EXPECT_TRUE(values_.Empty());
}

TEST_F(MainWindowModelTest, StoredDefaultsRunTheRulesOfWhatTheyChange) {
  store_.WriteProgram(L"UseEncryption", L"1");
  store_.WriteProgram(L"DefaultPassphrase", L"open sesame");
  store_.WriteProgram(L"CustomSize", L"  700 ");
  store_.WriteProgram(L"CustomSizeUnits", L"2");
  store_.WriteProgram(L"MultiSizeEnabled", L"1");
  store_.WriteProgram(L"MultiSizeValue", L" 3 ");
  store_.WriteProgram(L"MultiSizeUnits", L"1");
  store_.WriteProgram(L"FragSizeMode", L"Custom ");
  Load();
  EXPECT_TRUE(S().useEnc.checked);
  EXPECT_EQ(S().passphrase.text, L"open sesame");
  EXPECT_EQ(S().customSize.text, L"700");
  EXPECT_EQ(S().firstOverrideValue.text, L"3");
  EXPECT_TRUE(S().firstOverride.checked);
  EXPECT_TRUE(S().firstOverrideValue.enabled);
  EXPECT_TRUE(S().fOverrideUnits.enabled);
  EXPECT_EQ(S().sizeMode, SizeMode::kCustom);
  EXPECT_TRUE(S().customSize.enabled);
  EXPECT_EQ(model_.TakeFocus(), Control::kCustomSize);  // the last rule's focus
  EXPECT_EQ(model_.CustomBytes(), 700 * 1048576LL);
  EXPECT_EQ(model_.FirstOverrideBytes(), 3072);
}

TEST_F(MainWindowModelTest, PassphraseIsReadOnlyWhenTheBoxEndsUpTicked) {
  store_.WriteProgram(L"DefaultPassphrase", L"kept out");
  Load();
  EXPECT_EQ(S().passphrase.text, L"");
}

TEST_F(MainWindowModelTest, ModeWordsAreExactAfterTrimming) {
  store_.WriteProgram(L"FragSizeMode", L"preset");
  Load();
  EXPECT_EQ(S().sizeMode, SizeMode::kNone);
  store_.WriteProgram(L"FragSizeMode", L"Autofill");
  Load();
  EXPECT_EQ(S().sizeMode, SizeMode::kAutofill);
}

TEST_F(MainWindowModelTest, SizeModeRules) {
  model_.ChooseSizeMode(SizeMode::kCustom);
  EXPECT_TRUE(S().customSize.enabled);
  EXPECT_TRUE(S().custSizeUnits.enabled);
  EXPECT_EQ(model_.TakeFocus(), Control::kCustomSize);
  model_.ChooseSizeMode(SizeMode::kAutofill);  // changes nothing else
  EXPECT_TRUE(S().customSize.enabled);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
  model_.ChooseSizeMode(SizeMode::kPreset);
  EXPECT_FALSE(S().customSize.enabled);
  EXPECT_FALSE(S().custSizeUnits.enabled);
  EXPECT_TRUE(S().regenFragBool.enabled);
  EXPECT_TRUE(S().firstOverride.enabled);
  EXPECT_TRUE(S().saveBat.enabled);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
}

TEST_F(MainWindowModelTest, BatGenerationAndEncryptionExcludeEachOther) {
  EXPECT_FALSE(S().passphrase.enabled);
  model_.CheckBoxClicked(Control::kUseEnc, true);
  EXPECT_TRUE(S().passphrase.enabled);
  EXPECT_FALSE(S().cmdCabOnlyEnabled);
  EXPECT_EQ(model_.TakeFocus(), Control::kPassphrase);

  model_.CheckBoxClicked(Control::kSaveBAT, true);
  EXPECT_FALSE(S().useEnc.checked);
  EXPECT_FALSE(S().passphrase.enabled);
  EXPECT_FALSE(S().cmdCabOnlyEnabled);

  model_.CheckBoxClicked(Control::kUseEnc, true);
  EXPECT_FALSE(S().saveBat.checked);
  EXPECT_TRUE(S().useEnc.checked);
  EXPECT_EQ(model_.TakeFocus(), Control::kPassphrase);

  model_.CheckBoxClicked(Control::kUseEnc, false);
  EXPECT_FALSE(S().passphrase.enabled);
  EXPECT_TRUE(S().cmdCabOnlyEnabled);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
}

TEST_F(MainWindowModelTest, TheBatBoxAndTheFirstFragmentBox) {
  paths_.removable.insert(L"A:");
  model_.SplitDestinationChosen(L"A:\\");
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  model_.CheckBoxClicked(Control::kSaveBAT, true);
  EXPECT_FALSE(S().firstOverride.checked);  // a removable destination
  EXPECT_FALSE(S().firstOverrideValue.enabled);

  // On a fixed disk the first-fragment box stays.
  model_.SplitDestinationChosen(L"H:\\");
  model_.CheckBoxClicked(Control::kSaveBAT, false);
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  model_.CheckBoxClicked(Control::kSaveBAT, true);
  EXPECT_TRUE(S().firstOverride.checked);
  EXPECT_TRUE(S().firstOverride.enabled);
}

TEST_F(MainWindowModelTest, StoredBatGenerationAndEncryptionLeaveEncryptionOnly) {
  store_.WriteProgram(L"UseBATGen", L"1");
  store_.WriteProgram(L"UseEncryption", L"1");
  store_.WriteProgram(L"DefaultPassphrase", L"Kestrel");
  Load();
  EXPECT_FALSE(S().saveBat.checked);
  EXPECT_TRUE(S().useEnc.checked);
  EXPECT_TRUE(S().passphrase.enabled);
  EXPECT_EQ(S().passphrase.text, L"Kestrel");
  EXPECT_FALSE(S().cmdCabOnlyEnabled);
}

TEST_F(MainWindowModelTest, FirstOverrideClearsTheBatBoxOnlyForARemovableDestination) {
  model_.CheckBoxClicked(Control::kSaveBAT, true);
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  EXPECT_TRUE(S().saveBat.checked);  // no destination yet
  EXPECT_TRUE(paths_.asked.empty());
  EXPECT_TRUE(S().firstOverrideValue.enabled);
  EXPECT_TRUE(S().fOverrideUnits.enabled);
  EXPECT_EQ(model_.TakeFocus(), Control::kFirstOverrideValue);

  model_.CheckBoxClicked(Control::kFirstOverride, false);
  EXPECT_FALSE(S().firstOverrideValue.enabled);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);

  model_.SplitDestinationChosen(L"H:\\out");  // a fixed disk
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  EXPECT_TRUE(S().saveBat.checked);

  // Choosing a removable destination while both are ticked clears the
  // first-fragment box; ticking it again then clears the BAT box.
  paths_.removable.insert(L"A:");
  model_.SplitDestinationChosen(L"A:\\");
  EXPECT_FALSE(S().firstOverride.checked);
  EXPECT_FALSE(S().firstOverrideValue.enabled);
  EXPECT_TRUE(S().optAutofillEnabled);
  EXPECT_TRUE(S().saveBat.checked);
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  EXPECT_FALSE(S().saveBat.checked);
  EXPECT_TRUE(S().firstOverride.checked);
}

TEST_F(MainWindowModelTest, RegenerationBoxFollowsItsField) {
  model_.CheckBoxClicked(Control::kRegenFragBool, true);
  EXPECT_EQ(model_.TakeFocus(), Control::kRegenFragVal);
  model_.TextChanged(Control::kRegenFragVal, L"x");
  EXPECT_FALSE(S().regenFragBool.checked);
  model_.KeyTyped(Control::kRegenFragVal);
  EXPECT_TRUE(S().regenFragBool.checked);
  model_.TextChanged(Control::kRegenFragVal, L" 3 ");
  EXPECT_TRUE(S().regenFragBool.checked);
  model_.TextChanged(Control::kRegenFragVal, L"   ");
  EXPECT_FALSE(S().regenFragBool.checked);
  model_.TextChanged(Control::kRegenFragVal, L"4");
  model_.CheckBoxClicked(Control::kRegenFragBool, true);
  EXPECT_EQ(model_.FieldLeft(Control::kRegenFragVal), std::nullopt);
  EXPECT_TRUE(S().regenFragBool.checked);
}

TEST_F(MainWindowModelTest, CustomSizeMessagesAndBounds) {
  Load();
  ExpectFieldError(LeaveCustomSize(L"  "), L"Please enter a value", L"Enter a value",
                   Control::kCustomSize);
  ExpectFieldError(LeaveCustomSize(L"12x"), L"Please enter a numeric value", L"Invalid value",
                   Control::kCustomSize);
  EXPECT_EQ(S().customSize.text, L"12x");  // nothing else changes
  EXPECT_EQ(LeaveCustomSize(L"10"), std::nullopt);
  ExpectFieldError(LeaveCustomSize(L"9"), kRange, L"Not within valid range", Control::kCustomSize);
  EXPECT_EQ(LeaveCustomSize(L"102400"), std::nullopt);
  ExpectFieldError(LeaveCustomSize(L"102401"), kRange, L"Not within valid range",
                   Control::kCustomSize);
  // The decimals stay, as the size is worked out with them: 9.99 kb is
  // below the range, 12.7 kb within it.
  EXPECT_EQ(LeaveCustomSize(L" 12.7 "), std::nullopt);
  EXPECT_EQ(S().customSize.text, L"12.7");
  EXPECT_EQ(model_.CustomBytes(), 13005);
  ExpectFieldError(LeaveCustomSize(L"9.99"), kRange, L"Not within valid range",
                   Control::kCustomSize);
}

TEST_F(MainWindowModelTest, UnitChangeRunsTheRangeCheckInBytes) {
  Load();
  model_.TextChanged(Control::kCustomSize, L"100");
  EXPECT_EQ(model_.ListSelected(Control::kCustSizeUnits, 2), std::nullopt);  // 100 mb
  model_.TextChanged(Control::kCustomSize, L"101");
  ExpectFieldError(model_.ListSelected(Control::kCustSizeUnits, 2), kRange,
                   L"Not within valid range", Control::kCustomSize);
  EXPECT_EQ(S().custSizeUnits.position, 2);
  ExpectFieldError(model_.ListSelected(Control::kCustSizeUnits, 0), kRange,
                   L"Not within valid range", Control::kCustomSize);
  model_.TextChanged(Control::kCustomSize, L"1");
  EXPECT_EQ(model_.ListSelected(Control::kCustSizeUnits, 3), std::nullopt);
  EXPECT_EQ(model_.CustomBytes(), 1457664);
}

TEST_F(MainWindowModelTest, FirstFragmentValueHasNoRangeCheck) {
  Load();
  model_.TextChanged(Control::kFirstOverrideValue, L"");
  ExpectFieldError(model_.FieldLeft(Control::kFirstOverrideValue), L"Please enter a value",
                   L"Enter a value", Control::kFirstOverrideValue);
  model_.TextChanged(Control::kFirstOverrideValue, L"five");
  ExpectFieldError(model_.FieldLeft(Control::kFirstOverrideValue), L"Please enter a numeric value",
                   L"Invalid value", Control::kFirstOverrideValue);
  model_.TextChanged(Control::kFirstOverrideValue, L"5.9");
  EXPECT_EQ(model_.FieldLeft(Control::kFirstOverrideValue), std::nullopt);
  EXPECT_EQ(S().firstOverrideValue.text, L"5.9");
  EXPECT_EQ(model_.FirstOverrideBytes(), 1457664 - 6042);  // the 1.44 MB preset less 5.9 kb
  model_.ChooseSizeMode(SizeMode::kCustom);
  EXPECT_EQ(model_.FirstOverrideBytes(), 1457152 - 6042);  // the custom 1423 kb less 5.9 kb
  model_.TextChanged(Control::kFirstOverrideValue, L"999999");
  EXPECT_EQ(model_.FieldLeft(Control::kFirstOverrideValue), std::nullopt);
}

TEST_F(MainWindowModelTest, LanguagesSetTheirCaptionsAndOthersNothing) {
  model_.ApplyLanguageChange(1);
  EXPECT_EQ(S().captions.frame3, L"Vragment Sizes");
  EXPECT_EQ(S().captions.firstOverride, L"Different size for 1st vragment");
  model_.ApplyLanguageChange(7);
  EXPECT_EQ(S().captions.frame3, L"Vragment Sizes");
  model_.ApplyLanguageChange(2);
  EXPECT_EQ(S().captions, Captions{});
  model_.ApplyLanguageChange(5);
  EXPECT_EQ(S().captions, Captions{});
}

TEST_F(MainWindowModelTest, SelectionButtons) {
  model_.CheckBoxClicked(Control::kUseCompression, true);
  model_.FileToSplitChosen(L"C:\\in\\Archive.CAB");
  EXPECT_EQ(S().fileToSplit, L"C:\\in\\Archive.CAB");
  EXPECT_FALSE(S().useCompression.checked);
  EXPECT_FALSE(S().useCompression.enabled);
  EXPECT_EQ(S().light1, kLampGreen);
  EXPECT_EQ(S().fileIndicator, kLampGreen);
  model_.FolderToSplitChosen(L"C:\\data\\");
  EXPECT_EQ(S().folderToSplit, L"C:\\data");
  EXPECT_TRUE(S().useCompression.enabled);
  EXPECT_EQ(S().folderIndicator, kLampGreen);
  EXPECT_EQ(S().fileIndicator, kLampDarkRed);

  model_.ChooseSizeMode(SizeMode::kAutofill);
  model_.SplitDestinationChosen(L"C:\\out");
  EXPECT_EQ(S().splitDestination, L"C:\\out\\");
  EXPECT_EQ(paths_.asked.count(L"C:"), 1u);  // the drive only
  EXPECT_EQ(S().sizeMode, SizeMode::kPreset);
  EXPECT_FALSE(S().optAutofillEnabled);
  EXPECT_EQ(S().light2, kLampGreen);

  model_.FragmentsChosen(L"C:\\in\\a.001");
  model_.AssembleDestinationChosen(L"D:\\back");
  EXPECT_EQ(S().filesToAssemble, std::vector<std::wstring>{L"C:\\in\\a.001"});
  EXPECT_EQ(S().assembleDestination, L"D:\\back\\");
  EXPECT_EQ(S().light3, kLampGreen);
  EXPECT_EQ(S().light4, kLampGreen);
}

TEST_F(MainWindowModelTest, ProgressFollowsTheEngine) {
  model_.SplitStart(500);
  model_.SplitInterval(250);
  EXPECT_EQ(S().progressBar1.value, 250);
  EXPECT_EQ(S().progressBar1.max, 500);
  model_.AssembleStart(7);
  model_.AssembleInterval(7);
  EXPECT_EQ(S().progressBar2.value, 7);
  model_.SplitStart(9);
  EXPECT_EQ(S().progressBar1.value, 0);
  model_.ResetProgress(Control::kProgressBar2);
  EXPECT_EQ(S().progressBar2.value, 0);
  EXPECT_EQ(S().progressBar2.max, 7);
}

TEST_F(MainWindowModelTest, AKeyThatTicksTheRegenerationBoxLeavesTheFocusAlone) {
  Load();
  // The focus is in the field the key is typed into; sent there again it
  // would select the first digit for the second to replace.
  model_.KeyTyped(Control::kRegenFragVal);
  EXPECT_TRUE(S().regenFragBool.checked);
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
  model_.CheckBoxClicked(Control::kRegenFragBool, false);
  model_.CheckBoxClicked(Control::kRegenFragBool, true);
  EXPECT_EQ(model_.TakeFocus(), Control::kRegenFragVal);  // a click still sends it there
}

TEST_F(MainWindowModelTest, SmallerUnitsCountDownFromTheSizeInForce) {
  Load();
  model_.CheckBoxClicked(Control::kFirstOverride, true);
  model_.TextChanged(Control::kFirstOverrideValue, L"5");
  model_.ListSelected(Control::kCmbPreset, 0);
  EXPECT_EQ(SizeInForce(S()), 730112);
  EXPECT_EQ(model_.FirstOverrideBytes(), 730112 - 5120);  // not the custom field's 1423 kb
  model_.ChooseSizeMode(SizeMode::kCustom);
  EXPECT_EQ(model_.FirstOverrideBytes(), 1457152 - 5120);
  // Fill space keeps the splitter's size and counts down from the free space.
  model_.ChooseSizeMode(SizeMode::kAutofill);
  EXPECT_EQ(SizeInForce(S()), std::nullopt);
  EXPECT_EQ(FirstFragmentBytes(S(), 1400000), 1400000 - 5120);
  model_.ListSelected(Control::kFOverrideUnits, kUnitKb);
  EXPECT_EQ(FirstFragmentBytes(S(), 1400000), 5120);
  EXPECT_FALSE(CountsDown(kUnitKb));
  EXPECT_TRUE(CountsDown(kUnitMbSmaller));
}

TEST_F(MainWindowModelTest, OutcomesLastUntilTheNextAction) {
  const std::vector<std::function<void()>> actions = {
      [&] { model_.CheckBoxClicked(Control::kSaveBAT, true); },
      [&] { model_.ChooseSizeMode(SizeMode::kPreset); },
      [&] { model_.TextChanged(Control::kCustomSize, L"7"); },
      [&] { model_.ListSelected(Control::kCmbPreset, 2); },
      [&] { model_.FileToSplitChosen(L"C:\\in\\a.txt"); },
      [&] { model_.FolderToSplitChosen(L"C:\\in"); },
      [&] { model_.SplitDestinationChosen(L"C:\\out"); },
      [&] { model_.FragmentsChosen(L"C:\\in\\a.001"); },
      [&] { model_.AssembleDestinationChosen(L"C:\\back"); },
      [&] { model_.Drop({L"C:\\in\\b.txt"}); },
      [&] { model_.SplitStart(5); },
      [&] { model_.AssembleStart(5); },
  };
  for (size_t i = 0; i < actions.size(); ++i) {
    model_.SetOutcome(Control::kProgressBar1, L"Split: 4 fragments in C:\\out");
    model_.SetOutcome(Control::kProgressBar2, L"Assembled: C:\\back\\a.txt");
    EXPECT_EQ(S().splitOutcome, L"Split: 4 fragments in C:\\out");
    actions[i]();
    EXPECT_EQ(S().splitOutcome, L"") << i;
    EXPECT_EQ(S().assembleOutcome, L"") << i;
  }
  // Progress within a run is no new action.
  model_.SetOutcome(Control::kProgressBar1, L"Split: 4 fragments in C:\\out");
  model_.SplitInterval(3);
  model_.ResetProgress(Control::kProgressBar1);
  EXPECT_EQ(S().splitOutcome, L"Split: 4 fragments in C:\\out");
}

TEST_F(MainWindowModelTest, DialogsOpenAtTheirChoiceOrTheLastFolderUsed) {
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand4), L"");
  model_.FileToSplitChosen(L"C:\\in\\a.txt");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand4), L"C:\\in\\");
  EXPECT_EQ(model_.StartFolderFor(Control::kCmdSelFolderToSplit), L"C:\\in\\");
  model_.SplitDestinationChosen(L"D:\\out");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand3), L"D:\\out\\");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand6), L"D:\\out\\");
  model_.FolderToSplitChosen(L"E:\\work\\");
  EXPECT_EQ(model_.StartFolderFor(Control::kCmdSelFolderToSplit), L"E:\\work");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand3), L"D:\\out\\");  // its own choice
  model_.AssembleDestinationChosen(L"F:\\back");
  model_.FragmentsChosen(L"G:\\s\\a.001");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand5), L"G:\\s\\");
  EXPECT_EQ(model_.StartFolderFor(Control::kCommand6), L"F:\\back\\");
}

TEST_F(MainWindowModelTest, EveryLampTellsItsPath) {
  EXPECT_EQ(model_.LampTip(Control::kLight1), L"No file or folder to split chosen yet");
  EXPECT_EQ(model_.LampTip(Control::kLight2), L"No folder for the fragments chosen yet");
  EXPECT_EQ(model_.LampTip(Control::kLight3), L"No fragment or cabinet to assemble chosen yet");
  EXPECT_EQ(model_.LampTip(Control::kLight4), L"No folder for the assembled file chosen yet");
  model_.FileToSplitChosen(L"C:\\in\\a.txt");
  model_.SplitDestinationChosen(L"D:\\out");
  model_.FragmentsChosen(L"C:\\in\\a.001");
  model_.AssembleDestinationChosen(L"F:\\back");
  EXPECT_EQ(model_.LampTip(Control::kLight1), L"File to split: C:\\in\\a.txt");
  EXPECT_EQ(model_.LampTip(Control::kFileIndicator), L"File to split: C:\\in\\a.txt");
  EXPECT_EQ(model_.LampTip(Control::kFolderIndicator), L"No folder to split chosen");
  EXPECT_EQ(model_.LampTip(Control::kLight2), L"Fragments go to: D:\\out\\");
  EXPECT_EQ(model_.LampTip(Control::kLight3), L"To assemble: C:\\in\\a.001");
  EXPECT_EQ(model_.LampTip(Control::kLight4), L"Assembled file goes to: F:\\back\\");
  model_.FolderToSplitChosen(L"E:\\work");
  EXPECT_EQ(model_.LampTip(Control::kLight1), L"Folder to split: E:\\work");
  EXPECT_EQ(model_.LampTip(Control::kFileIndicator), L"No file to split chosen");
}

}  // namespace
}  // namespace vtq::model

namespace vtq::model {
namespace {

TEST_F(MainWindowModelTest, RecoveryFilesAreOfferedWhereTheSeriesStaysInOneFolder) {
  Load();
  EXPECT_FALSE(S().useRecovery.checked);
  EXPECT_TRUE(S().useRecovery.enabled);
  EXPECT_EQ(S().recoveryPercent.text, L"10");
  EXPECT_FALSE(S().recoveryPercent.enabled);
  model_.CheckBoxClicked(Control::kUseRecovery, true);
  EXPECT_TRUE(S().recoveryPercent.enabled);
  EXPECT_EQ(model_.TakeFocus(), Control::kRecoveryPercent);
  model_.TextChanged(Control::kRecoveryPercent, L"25");
  EXPECT_EQ(S().recoveryPercent.text, L"25");

  // A removable disk: not offered, and the note says why; the choice
  // itself stays for a fixed disk again.
  paths_.removable.insert(L"A:");
  model_.SplitDestinationChosen(L"A:\\");
  EXPECT_FALSE(S().useRecovery.enabled);
  EXPECT_TRUE(S().useRecovery.checked);
  EXPECT_FALSE(S().recoveryPercent.enabled);
  EXPECT_EQ(S().recoveryNote, L"Not on removable disks, where the series spans disks");
  model_.SplitDestinationChosen(L"C:\\out");
  EXPECT_TRUE(S().useRecovery.enabled);
  EXPECT_TRUE(S().recoveryPercent.enabled);
  EXPECT_EQ(S().recoveryNote, L"");
  EXPECT_EQ(model_.TakeFocus(), std::nullopt);
}

TEST_F(MainWindowModelTest, RecoveryDefaultsAreRestored) {
  store_.WriteProgram(L"UseRecovery", L"1");
  store_.WriteProgram(L"RecoveryPercent", L" 30 ");
  Load();
  EXPECT_TRUE(S().useRecovery.checked);
  EXPECT_TRUE(S().recoveryPercent.enabled);
  EXPECT_EQ(S().recoveryPercent.text, L"30");
}

}  // namespace
}  // namespace vtq::model
