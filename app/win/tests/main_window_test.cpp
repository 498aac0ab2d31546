// The main window from its template: every designed control with its kind
// and caption, the lamps, lists and progress bars, the theme, the Customize
// button, help through the shell seam, and drops of one and two files.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/settings/regging_values.h"
#include "app/win/main_window.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/shell_double.h"
#include "app/win/tests/window_harness.h"
#include "base/win/restore_guards.h"
#include "engine/tests/support/platform_doubles.h"
#include "base/tests/win/support/registry_sandbox.h"
#include "wingui/controls.h"
#include "wingui/file_drop_target.h"
#include "wingui/lamp.h"
#include "wingui/tests/file_drop_data.h"

namespace vtq::app {
namespace {

using test::Click;

class RecordingBinding final : public MainWindowBinding {
 public:
  DWORD FilesOffered(MainWindow&, const std::vector<std::wstring>& paths, bool dropping) override {
    offers.push_back({paths, dropping});
    return paths.size() == 1 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }
  void CustomizeSaved(MainWindow&, int language) override { savedLanguage = language; }
  std::vector<std::pair<std::vector<std::wstring>, bool>> offers;
  int savedLanguage = -1;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(window_.Create());
    main_ = window_.Hwnd();
    ShowWindow(main_, SW_SHOW);
  }

  std::wstring ClassOf(int id) {
    wchar_t name[64] = {};
    GetClassNameW(GetDlgItem(main_, id), name, 64);
    return name;
  }
  LONG_PTR StyleOf(int id) { return GetWindowLongPtrW(GetDlgItem(main_, id), GWL_STYLE); }
  // The caption without its mnemonic mark.
  std::wstring CaptionOf(int id) {
    std::wstring text = test::TextOf(main_, id);
    std::erase(text, L'&');
    return text;
  }

  base::win::ScopedOle ole_;
  vtq::test::RegistrySandbox sandbox_;
  settings::ReggingValues values_;
  settings::SettingsStore store_{values_};
  vtq::test::RecordingBoxes boxes_;
  test::ScriptedShell shell_;
  RecordingBinding binding_;
  MainWindow window_{{test::Instance(), store_, boxes_, shell_, L"C:\\vtq\\"}, 0, &binding_};
  HWND main_ = nullptr;
};

TEST_F(MainWindowTest, EveryDesignedControlHasItsKindAndCaption) {
  struct Expected {
    int id;
    const wchar_t* className;
    LONG_PTR kind;  // button type, 0 for no check
    const wchar_t* caption;
  };
  const Expected controls[] = {
      {IDC_Frame1, L"Button", BS_GROUPBOX, L"File Splitting / Compression"},
      {IDC_Command4, L"Button", BS_PUSHBUTTON, L"Select file to split"},
      {IDC_cmdSelFolderToSplit, L"Button", BS_PUSHBUTTON, L"Select folder to split"},
      {IDC_Command3, L"Button", BS_PUSHBUTTON, L"Select fragment destination"},
      {IDC_UseCompression, L"Button", BS_AUTOCHECKBOX, L"Compress file(s) first"},
      {IDC_SaveBAT, L"Button", BS_AUTOCHECKBOX, L"Generate BAT AutoAssembler"},
      {IDC_cmdCabOnly, L"Button", BS_PUSHBUTTON, L"Make CAB only"},
      {IDC_Command7, L"Button", BS_PUSHBUTTON, L"Split now!"},
      {IDC_Frame2, L"Button", BS_GROUPBOX, L"File Assembly / Extraction"},
      {IDC_Command5, L"Button", BS_PUSHBUTTON, L"Select fragments to assemble"},
      {IDC_Command6, L"Button", BS_PUSHBUTTON, L"Select destination of file"},
      {IDC_Command8, L"Button", BS_PUSHBUTTON, L"Assemble now!"},
      {IDC_Frame3, L"Button", BS_GROUPBOX, L"Fragment Sizes"},
      {IDC_optPreset, L"Button", BS_AUTORADIOBUTTON, L"Preset:"},
      {IDC_optAutofill, L"Button", BS_AUTORADIOBUTTON, L"Fill space"},
      {IDC_CustomEnabled, L"Button", BS_AUTORADIOBUTTON, L"Custom:"},
      {IDC_FirstOverride, L"Button", BS_AUTOCHECKBOX, L"Use different size for the 1st fragment"},
      {IDC_frameEnc, L"Button", BS_GROUPBOX, L"Encryption"},
      {IDC_UseEnc, L"Button", BS_AUTOCHECKBOX, L"Use password:"},
      {IDC_frmRegen, L"Button", BS_GROUPBOX, L"Fragment Regeneration"},
      {IDC_RegenFragBool, L"Button", BS_AUTOCHECKBOX, L"Regen fragment:"},
      {IDC_cmdHelp, L"Button", BS_PUSHBUTTON, L"Online Help"},
      {IDC_cmdUserOptions, L"Button", BS_PUSHBUTTON, L"Customize"},
      {IDC_Command2, L"Button", BS_PUSHBUTTON, L"Exit"},
  };
  for (const auto& control : controls) {
    SCOPED_TRACE(control.caption);
    ASSERT_NE(GetDlgItem(main_, control.id), nullptr);
    EXPECT_EQ(ClassOf(control.id), control.className);
    EXPECT_EQ(StyleOf(control.id) & BS_TYPEMASK, control.kind);
    EXPECT_EQ(CaptionOf(control.id), control.caption);
  }
  for (int edit : {IDC_CustomSize, IDC_FirstOverrideValue, IDC_Passphrase, IDC_RegenFragVal})
    EXPECT_EQ(ClassOf(edit), L"Edit");
  EXPECT_TRUE(StyleOf(IDC_Passphrase) & ES_PASSWORD);
  for (int list : {IDC_cmbPreset, IDC_CustSizeUnits, IDC_FOverrideUnits}) {
    EXPECT_EQ(ClassOf(list), L"ComboBox");
    EXPECT_EQ(StyleOf(list) & 3, CBS_DROPDOWNLIST);
  }
  for (int bar : {IDC_ProgressBar1, IDC_ProgressBar2}) {
    EXPECT_EQ(ClassOf(bar), PROGRESS_CLASSW);
    EXPECT_EQ(wingui::ProgressValue(GetDlgItem(main_, bar)), 0);
  }
  EXPECT_EQ(ClassOf(IDC_Image1), L"Static");
  EXPECT_EQ(test::TextOf(main_, 0), L"");  // no control hides behind ID 0
  EXPECT_EQ(GetDlgItem(main_, 1001), nullptr);
}

TEST_F(MainWindowTest, SixLampsStartDarkRedAndReadBackExactly) {
  for (int lamp :
       {IDC_Light1, IDC_Light2, IDC_FileIndicator, IDC_FolderIndicator, IDC_Light3, IDC_Light4})
    EXPECT_EQ(wingui::LampColour(GetDlgItem(main_, lamp)), COLORREF{192});
  wingui::SetLampColour(GetDlgItem(main_, IDC_Light3), wingui::kLampGreen);
  EXPECT_EQ(wingui::LampColour(GetDlgItem(main_, IDC_Light3)), COLORREF{65280});
  EXPECT_EQ(wingui::LampColour(GetDlgItem(main_, IDC_Command7)), std::nullopt);
}

TEST_F(MainWindowTest, ListsHoldTheDesignedEntries) {
  HWND first = GetDlgItem(main_, IDC_FOverrideUnits);
  ASSERT_EQ(wingui::ComboCount(first), 7);
  EXPECT_EQ(wingui::ComboItemText(first, 3), L"x 1.38Mb");
  EXPECT_EQ(wingui::ComboItemText(first, 6), L"mb smaller");
  EXPECT_EQ(wingui::ComboCount(GetDlgItem(main_, IDC_CustSizeUnits)), 4);
  EXPECT_EQ(wingui::ComboItemText(GetDlgItem(main_, IDC_cmbPreset), 0), L"720kb (DSDD floppy)");
  EXPECT_EQ(wingui::ComboItemText(GetDlgItem(main_, IDC_cmbPreset), 3), L"2.88Mb");
}

TEST_F(MainWindowTest, FirstStartColoursTheWindowGreenOnBlack) {
  const auto colours = window_.Colouring().Colours();
  ASSERT_TRUE(colours.has_value());
  EXPECT_EQ(colours->background, COLORREF{0});
  EXPECT_EQ(colours->text, COLORREF{65280});
}

TEST_F(MainWindowTest, CustomizeSaveRecolours) {
  test::ModalScripts driver({{L"Customize", [](HWND dialog) {
                                test::Choose(dialog, IDC_cmbTheme, 0);
                                test::Choose(dialog, IDC_cmbLang, 2);
                                Click(dialog, IDOK);
                              }}});
  Click(main_, IDC_cmdUserOptions);
  EXPECT_EQ(driver.Started(), 1u);
  EXPECT_EQ(binding_.savedLanguage, 2);
  EXPECT_EQ(window_.CurrentLanguage(), 2);
  EXPECT_FALSE(window_.Colouring().Colours().has_value());  // the system look
}

TEST_F(MainWindowTest, DefaultsComeFromTheControls) {
  wingui::SetChecked(GetDlgItem(main_, IDC_SaveBAT), true);
  CheckRadioButton(main_, IDC_optPreset, IDC_CustomEnabled, IDC_optAutofill);
  SetDlgItemTextW(main_, IDC_CustomSize, L"1423");
  wingui::ComboSelect(GetDlgItem(main_, IDC_FOverrideUnits), 5);
  const auto defaults = window_.ReadDefaults();
  EXPECT_TRUE(defaults.saveBat);
  EXPECT_FALSE(defaults.useCompression);
  EXPECT_EQ(defaults.sizeMode, model::SizeModeChoice::kAutofill);
  EXPECT_EQ(defaults.customSize, L"1423");
  EXPECT_EQ(defaults.firstOverrideUnits, 5);
}

TEST_F(MainWindowTest, HelpOpensTheGuideWhereNoHelpViewerIs) {
  shell_.existing = {L"C:\\vtq\\Vantrelloquin.hlp", L"C:\\vtq\\Vantrelloquin.html"};
  Click(main_, IDC_cmdHelp);
  EXPECT_TRUE(shell_.helpShown.empty());
  EXPECT_EQ(shell_.documentsOpened, std::vector<std::wstring>{L"C:\\vtq\\Vantrelloquin.html"});
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(MainWindowTest, HelpFileOpensWithTheViewerPresent) {
  shell_.existing = {L"C:\\vtq\\Vantrelloquin.hlp", L"C:\\windows\\winhlp32.exe"};
  Click(main_, IDC_cmdHelp);
  EXPECT_EQ(shell_.helpShown, std::vector<std::wstring>{L"C:\\vtq\\Vantrelloquin.hlp"});
  EXPECT_TRUE(shell_.documentsOpened.empty());
}

TEST_F(MainWindowTest, WithoutHelpTheUserIsToldSo) {
  Click(main_, IDC_cmdHelp);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text,
            "Neither the help file nor the user guide (Vantrelloquin.html) was found in the "
            "program's folder. Please reinstall Vantrelloquin to get its help back.");
  EXPECT_EQ(boxes_.shown[0].title, "Help not found");
  EXPECT_EQ(boxes_.shown[0].Icon(), mb::kIconExclamation);

  // The guide is there, but nothing opens .html files: that is what is said.
  shell_.existing = {L"C:\\vtq\\Vantrelloquin.html"};
  shell_.documentsWork = false;
  Click(main_, IDC_cmdHelp);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text,
            "The user guide is at C:\\vtq\\Vantrelloquin.html, but no program on this computer "
            "opens .html files. Open it with a web browser.");
  EXPECT_EQ(boxes_.shown[1].title, "Help");
}

TEST_F(MainWindowTest, TheWindowTakesDropsOfOneAndOfTwoFiles) {
  // A second registration fails: the window registered its target.
  base::win::ComRef<IDropTarget> other = wingui::FileDropTarget::Create(nullptr);
  EXPECT_EQ(RegisterDragDrop(main_, other.Get()), DRAGDROP_E_ALREADYREGISTERED);

  IDropTarget* target = window_.DropTarget();
  ASSERT_NE(target, nullptr);
  wingui::test::FileDropData one({L"C:\\data\\series.001"});
  wingui::test::FileDropData two({L"C:\\a.txt", L"C:\\b.txt"});
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(&one, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(&one, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(&two, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  ASSERT_EQ(binding_.offers.size(), 3u);
  EXPECT_EQ(binding_.offers[1].first, std::vector<std::wstring>{L"C:\\data\\series.001"});
  EXPECT_TRUE(binding_.offers[1].second);
  EXPECT_EQ(binding_.offers[2].first, (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b.txt"}));
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndEndsTheLoop) {
  Click(main_, IDC_Command2);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_EQ(window_.Hwnd(), nullptr);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace vtq::app
