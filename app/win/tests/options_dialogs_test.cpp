// The Customize and Configure BAT Generator dialogs, opened from their
// templates, driven like a user would, with the registry of the current
// user redirected into a sandbox.
#include <gtest/gtest.h>

#include "app/settings/regging_values.h"
#include "app/win/batgen_dialog.h"
#include "app/win/customize_dialog.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/window_harness.h"
#include "engine/tests/support/platform_doubles.h"
#include "base/tests/win/support/registry_sandbox.h"
#include "wingui/colouring.h"
#include "wingui/controls.h"

namespace vtq::app {
namespace {

using test::Choose;
using test::Click;
using test::ModalScripts;
using test::TextOf;

class OptionsDialogs : public ::testing::Test {
 protected:
  vtq::test::RegistrySandbox sandbox_;
  settings::ReggingValues values_;
  settings::SettingsStore store_{values_};
  vtq::test::RecordingBoxes boxes_;

  std::optional<std::wstring> Stored(std::wstring_view name) {
    return values_.Find(settings::kProgramKey, name);
  }

  INT_PTR RunCustomize(int language, std::vector<test::ModalScript> scripts,
                       model::MainWindowDefaults window = {}) {
    CustomizeDialog dialog(test::Instance(), store_, boxes_, language, [window] { return window; });
    const size_t expected = scripts.size();
    ModalScripts driver(std::move(scripts));
    const INT_PTR result = dialog.Show(nullptr);
    EXPECT_EQ(driver.Started(), expected) << "a scripted dialog never showed";
    savedLanguage_ = dialog.SavedLanguage();
    return result;
  }
  std::optional<int> savedLanguage_;
};

TEST_F(OptionsDialogs, CustomizeOpensWithTheStoredChoicesAndSavesTheChanges) {
  values_.Write(settings::kProgramKey, L"Theme", L"3");
  bool checked = false;
  const INT_PTR result = RunCustomize(
      0, {{L"Customize", [&](HWND dialog) {
             EXPECT_EQ(TextOf(dialog, IDC_Label1), L"Color theme:");
             EXPECT_EQ(wingui::ComboSelected(GetDlgItem(dialog, IDC_cmbTheme)), 3);
             EXPECT_EQ(wingui::ComboCount(GetDlgItem(dialog, IDC_cmbTheme)), 5);
             EXPECT_EQ(wingui::ComboItemText(GetDlgItem(dialog, IDC_cmbTheme), 4),
                       L"Golden Sunshine");
             EXPECT_EQ(wingui::ComboItemText(GetDlgItem(dialog, IDC_cmbLang), 1), L"Vreaky");
             EXPECT_TRUE(wingui::IsChecked(GetDlgItem(dialog, IDC_EnableCustomSounds)));
             EXPECT_EQ(TextOf(dialog, IDC_lblThemeDesc),
                       L"Black text on a white background - kinda like many windows 3.1 "
                       L"programs.");
             EXPECT_TRUE(wingui::IsThemeImmune(GetDlgItem(dialog, IDC_cmbTheme)));
             EXPECT_TRUE(wingui::IsThemeImmune(GetDlgItem(dialog, IDC_cmbLang)));

             Choose(dialog, IDC_cmbTheme, 2);
             Choose(dialog, IDC_cmbLang, 1);
             EXPECT_EQ(TextOf(dialog, IDC_lblThemeDesc),
                       L"Very, very red.... 'File' will be replaced by 'Vyle'.");
             Click(dialog, IDC_EnableCustomSounds);
             checked = true;
             Click(dialog, IDOK);
           }}});
  EXPECT_TRUE(checked);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(savedLanguage_, 1);
  EXPECT_EQ(Stored(L"Theme"), L"2");
  EXPECT_EQ(Stored(L"Language"), L"1");
  EXPECT_EQ(Stored(L"UseSounds"), L"0");
}

TEST_F(OptionsDialogs, CustomizeCancelWritesNothing) {
  const INT_PTR result =
      RunCustomize(2, {{L"Customize", [](HWND dialog) {
                          EXPECT_EQ(TextOf(dialog, IDC_Label1), L"Colour theme:");
                          Choose(dialog, IDC_cmbTheme, 4);
                          Click(dialog, IDC_EnableCustomSounds);
                          Click(dialog, IDCANCEL);
                        }}});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(savedLanguage_, std::nullopt);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u);
}

TEST_F(OptionsDialogs, DefaultsButtonStoresTheMainWindowAndKeepsTheDialogOpen) {
  model::MainWindowDefaults window;
  window.useCompression = true;
  window.customSize = L"2000";
  window.sizeMode = model::SizeModeChoice::kAutofill;
  boxes_.Answer(mb::kIdYes);
  bool stillOpen = false;
  RunCustomize(0,
               {{L"Customize",
                 [&](HWND dialog) {
                   Click(dialog, IDC_Command1);
                   stillOpen = IsWindowVisible(dialog) != FALSE;
                   Click(dialog, IDCANCEL);
                 }}},
               window);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text, "Saved settings successfully!");
  EXPECT_EQ(Stored(L"UseCompression"), L"1");
  EXPECT_EQ(Stored(L"CustomSize"), L"2000");
  EXPECT_EQ(Stored(L"FragSizeMode"), L"Autofill");
  EXPECT_EQ(Stored(L"UseEncryption"), L"0");
  EXPECT_EQ(Stored(L"Theme"), std::nullopt);  // Cancel of the dialog itself
}

TEST_F(OptionsDialogs, BatGeneratorOpensFromCustomizeAndSaves) {
  RunCustomize(0, {{L"Customize",
                    [](HWND dialog) {
                      Click(dialog, IDC_cmdConfBAT);
                      Click(dialog, IDCANCEL);
                    }},
                   {L"Configure BAT Generator", [](HWND dialog) {
                      EXPECT_TRUE(wingui::IsChecked(GetDlgItem(dialog, IDC_chkDecompress)));
                      EXPECT_FALSE(wingui::IsChecked(GetDlgItem(dialog, IDC_chkDelCabs)));
                      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_chkDelCabs)));
                      Click(dialog, IDC_chkDelCabs);
                      SetDlgItemTextW(dialog, IDC_txtIniText, L"Joining...\r\nPlease wait");
                      Click(dialog, IDOK);
                    }}});
  EXPECT_EQ(Stored(L"BATGenIText"), L"Joining...\r\nPlease wait");
  EXPECT_EQ(Stored(L"BATGenDecomp"), L"1");
  EXPECT_EQ(Stored(L"BATGenDelCabs"), L"1");
  EXPECT_EQ(Stored(L"Theme"), std::nullopt);
}

class BatGeneratorDialog : public OptionsDialogs {
 protected:
  INT_PTR Run(std::function<void(HWND)> steps) {
    BatGenDialog dialog(test::Instance(), store_);
    ModalScripts driver({{L"Configure BAT Generator", std::move(steps)}});
    return dialog.Show(nullptr);
  }
};

TEST_F(BatGeneratorDialog, ClearingDecompressionClearsAndDisablesDeletion) {
  Run([](HWND dialog) {
    Click(dialog, IDC_chkDelCabs);
    Click(dialog, IDC_chkDecompress);
    EXPECT_FALSE(wingui::IsChecked(GetDlgItem(dialog, IDC_chkDelCabs)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_chkDelCabs)));
    Click(dialog, IDOK);
  });
  EXPECT_EQ(Stored(L"BATGenDecomp"), L"0");
  EXPECT_EQ(Stored(L"BATGenDelCabs"), L"0");
}

TEST_F(BatGeneratorDialog, StoredDecompressionOffOpensWithDeletionDisabled) {
  values_.Write(settings::kProgramKey, L"BATGenDecomp", L"0");
  Run([](HWND dialog) {
    EXPECT_FALSE(wingui::IsChecked(GetDlgItem(dialog, IDC_chkDecompress)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_chkDelCabs)));
    Click(dialog, IDCANCEL);
  });
}

TEST_F(BatGeneratorDialog, TypingStopsAtSeventyNineCharactersButEnterGoesOn) {
  Run([](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_txtIniText, L"");
    test::Type(dialog, IDC_txtIniText, std::wstring(85, L'x'));
    EXPECT_EQ(TextOf(dialog, IDC_txtIniText), std::wstring(79, L'x'));
    test::Type(dialog, IDC_txtIniText, L"\ry");
    EXPECT_EQ(TextOf(dialog, IDC_txtIniText), std::wstring(79, L'x') + L"\r\ny");
    Click(dialog, IDOK);
  });
  EXPECT_EQ(Stored(L"BATGenIText"), std::wstring(79, L'x') + L"\r\ny");
}

TEST_F(BatGeneratorDialog, RestoreDefaultsThenCancelLeavesTheStoredSettings) {
  values_.Write(settings::kProgramKey, L"BATGenIText", L"Mine");
  Run([](HWND dialog) {
    EXPECT_EQ(TextOf(dialog, IDC_txtIniText), L"Mine");
    Click(dialog, IDC_cmdRestoreDefault);
    EXPECT_EQ(TextOf(dialog, IDC_txtIniText), model::BatGenDialogState::DefaultText());
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(Stored(L"BATGenIText"), L"Mine");
  EXPECT_EQ(Stored(L"BATGenDecomp"), std::nullopt);
}

TEST_F(BatGeneratorDialog, EscapeCancelsAndEnterInTheTextDoesNotSave) {
  const INT_PTR result = Run([](HWND dialog) {
    HWND text = GetDlgItem(dialog, IDC_txtIniText);
    SetFocus(text);
    MSG enter{text, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_EQ(SendMessageW(text, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTALLKEYS,
              DLGC_WANTALLKEYS);
    MSG escape{dialog, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    IsDialogMessageW(dialog, &escape);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u);
}

}  // namespace
}  // namespace vtq::app
