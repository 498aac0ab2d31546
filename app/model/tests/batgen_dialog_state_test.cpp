// The Configure BAT Generator dialog's state: opening values, the rule
// between its two boxes, Restore Defaults, Save and Cancel, and the
// 79-character typing rule.
#include "app/model/batgen_dialog_state.h"

#include <gtest/gtest.h>

#include <string>

namespace vtq::model {
namespace {

using settings::kProgramKey;

constexpr const wchar_t* kDefaultText =
    L"*** File splitted and BAT assembler created using Quorvelle Vantrelloquin ***\r\n"
    L"    * Cut to fit any disk, joined on any PC: Quorvelle Vantrelloquin *\r\n";

class BatGenDialog : public ::testing::Test {
 protected:
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  std::optional<std::wstring> Stored(std::wstring_view name) {
    return values_.Find(kProgramKey, name);
  }
};

TEST_F(BatGenDialog, OpensWithTheDefaultsOnAnEmptyStore) {
  BatGenDialogState state(store_);
  EXPECT_EQ(state.Text(), kDefaultText);
  EXPECT_EQ(BatGenDialogState::DefaultText(), kDefaultText);
  EXPECT_TRUE(state.Decompress());
  EXPECT_FALSE(state.DeleteCabs());
  EXPECT_TRUE(state.DeleteCabsEnabled());
  EXPECT_TRUE(values_.Empty());
}

TEST_F(BatGenDialog, OpensWithTheStoredValues) {
  values_.Write(kProgramKey, L"BATGenIText", L"Hello\r\nthere");
  values_.Write(kProgramKey, L"BATGenDecomp", L"1");
  values_.Write(kProgramKey, L"BATGenDelCabs", L"1");
  BatGenDialogState state(store_);
  EXPECT_EQ(state.Text(), L"Hello\r\nthere");
  EXPECT_TRUE(state.Decompress());
  EXPECT_TRUE(state.DeleteCabs());
}

TEST_F(BatGenDialog, StoredDecompressionOffLeavesDeletionClearedAndDisabled) {
  values_.Write(kProgramKey, L"BATGenDecomp", L"0");
  values_.Write(kProgramKey, L"BATGenDelCabs", L"1");
  BatGenDialogState state(store_);
  EXPECT_FALSE(state.Decompress());
  EXPECT_FALSE(state.DeleteCabs());
  EXPECT_FALSE(state.DeleteCabsEnabled());
}

TEST_F(BatGenDialog, ClearingDecompressionClearsDeletionAndTickingOffersItAgain) {
  BatGenDialogState state(store_);
  state.SetDeleteCabs(true);
  state.SetDecompress(false);
  EXPECT_FALSE(state.DeleteCabs());
  EXPECT_FALSE(state.DeleteCabsEnabled());
  state.SetDecompress(true);
  EXPECT_TRUE(state.DeleteCabsEnabled());
  EXPECT_FALSE(state.DeleteCabs());
}

TEST_F(BatGenDialog, SaveWritesTextAndBoxes) {
  BatGenDialogState state(store_);
  state.SetText(L"Line one\r\nLine two");
  state.SetDeleteCabs(true);
  state.Save();
  EXPECT_EQ(Stored(L"BATGenIText"), L"Line one\r\nLine two");
  EXPECT_EQ(Stored(L"BATGenDecomp"), L"1");
  EXPECT_EQ(Stored(L"BATGenDelCabs"), L"1");
  state.SetDecompress(false);
  state.Save();
  EXPECT_EQ(Stored(L"BATGenDecomp"), L"0");
  EXPECT_EQ(Stored(L"BATGenDelCabs"), L"0");
}

TEST_F(BatGenDialog, RestoreDefaultsThenCancelLeavesTheStoredSettings) {
  values_.Write(kProgramKey, L"BATGenIText", L"Mine");
  values_.Write(kProgramKey, L"BATGenDecomp", L"0");
  {
    BatGenDialogState state(store_);
    state.RestoreDefaults();
    EXPECT_EQ(state.Text(), kDefaultText);
    EXPECT_TRUE(state.Decompress());
    EXPECT_FALSE(state.DeleteCabs());
  }
  EXPECT_EQ(Stored(L"BATGenIText"), L"Mine");
  EXPECT_EQ(Stored(L"BATGenDecomp"), L"0");
  EXPECT_EQ(Stored(L"BATGenDelCabs"), std::nullopt);
}

TEST(BatTextTyping, TheEightiethCharacterOfALineIsRefusedEnterIsNot) {
  const std::wstring line78(78, L'x');
  const std::wstring line79(79, L'x');
  EXPECT_TRUE(AcceptsTypedKey(line78, 78, 'a'));
  EXPECT_FALSE(AcceptsTypedKey(line79, 79, 'a'));
  EXPECT_FALSE(AcceptsTypedKey(line79, 0, 'a'));  // the whole line counts, not the caret
  EXPECT_TRUE(AcceptsTypedKey(line79, 79, '\r'));
  EXPECT_TRUE(AcceptsTypedKey(line79, 79, 8));  // Backspace
  EXPECT_TRUE(AcceptsTypedKey(line79, 79, 31));
  EXPECT_FALSE(AcceptsTypedKey(line79, 79, 32));
}

TEST(BatTextTyping, OnlyTheCaretsLineIsMeasured) {
  const std::wstring text = std::wstring(79, L'a') + L"\r\n" + L"short\r\n" + std::wstring(79, 'b');
  EXPECT_FALSE(AcceptsTypedKey(text, 10, 'x'));
  EXPECT_TRUE(AcceptsTypedKey(text, 81, 'x'));  // start of "short"
  EXPECT_TRUE(AcceptsTypedKey(text, 86, 'x'));  // end of "short", before its CR
  EXPECT_FALSE(AcceptsTypedKey(text, text.size(), 'x'));
  EXPECT_TRUE(AcceptsTypedKey(L"", 0, 'x'));
}

TEST(BatTextTyping, LineEndsAtTheNextCarriageReturnOrTheEnd) {
  // Only a carriage return ends a line to the right, only a line feed to
  // the left: a bare line feed after the caret does not stop the count.
  const std::wstring text = std::wstring(40, L'a') + L"\n" + std::wstring(40, L'b');
  EXPECT_FALSE(AcceptsTypedKey(text, 5, 'x'));
  EXPECT_TRUE(AcceptsTypedKey(text, 45, 'x'));
  EXPECT_TRUE(AcceptsTypedKey(L"abc", 99, 'x'));  // a caret past the end is the end
}

}  // namespace
}  // namespace vtq::model
