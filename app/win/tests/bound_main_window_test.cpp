// Form1 bound to its model, driven through its controls as a user would:
// the load, clicks and their rules, texts and their checks, the selection
// buttons, drops, the command line's question, a split through the real
// engine, Customize and Exit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/operations/tests/recording_prompts.h"
#include "app/win/main_window.h"
#include "app/win/main_window_controller.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/shell_double.h"
#include "app/win/tests/window_harness.h"
#include "app/win/window_services.h"
#include "base/utf8_text.h"
#include "base/win/restore_guards.h"
#include "cabinet/compressor.h"
#include "cabinet/extractor.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/format.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "wingui/controls.h"
#include "wingui/lamp.h"
#include "wingui/tests/file_drop_data.h"

namespace vtq::app {
namespace {

using test::Click;

constexpr COLORREF kGreen = 65280;
constexpr COLORREF kDarkRed = 192;

// Records each sound with whether the window still existed when it played.
class RecordingPlayer final : public model::SoundPlayer {
 public:
  HWND window = nullptr;
  std::vector<std::wstring> played;
  void Play(std::wstring_view file, bool synchronous) override {
    played.push_back(std::wstring(synchronous ? L"sync " : L"async ") + std::wstring(file) +
                     (IsWindow(window) ? L" (window up)" : L""));
  }
};

// The system's drives, of which the next few questions find no disk ready.
class FlakyDrives final : public Drives {
 public:
  int notReady = 0;
  DriveType TypeOf(const std::string& root) override {
    if (notReady > 0) {
      --notReady;
      throw VbError(err::kDiskNotReady);
    }
    return SystemDrives().TypeOf(root);
  }
  bool HasExtendedFreeSpace() override { return SystemDrives().HasExtendedFreeSpace(); }
  std::optional<uint64_t> FreeBytesAvailable(const std::string& root) override {
    return SystemDrives().FreeBytesAvailable(root);
  }
  std::optional<ClusterFigures> Clusters(const std::string& root) override {
    return SystemDrives().Clusters(root);
  }
};

class BoundMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }

  bool Open(std::wstring_view commandLine = L"", int language = 0) {
    controller_ = std::make_unique<MainWindowController>(
        ControllerServices{test::Instance(), store_, globals_, shell_, player_, paths_,
                           *activePrompts_, L"C:\\vtq\\"});
    window_ = std::make_unique<MainWindow>(
        MainWindowServices{test::Instance(), store_, boxes_, shell_, L"C:\\vtq\\"}, language,
        controller_.get());
    controller_->Attach(*window_);
    EXPECT_TRUE(window_->Create());
    main_ = window_->Hwnd();
    player_.window = main_;
    return controller_->Load(commandLine);
  }

  HWND Item(int id) { return GetDlgItem(main_, id); }
  COLORREF Lamp(int id) { return wingui::LampColour(Item(id)).value_or(0); }
  bool Checked(int id) { return wingui::IsChecked(Item(id)); }
  bool Enabled(int id) { return wingui::IsEnabled(Item(id)); }
  std::wstring Caption(int id) { return test::TextOf(main_, id); }
  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (const auto& box : boxes_.shown)
      titles.push_back(box.title);
    return titles;
  }
  // What a user's typing leaves in a field: WM_SETTEXT sends EN_CHANGE.
  void SetField(int id, const std::wstring& text) { wingui::SetText(Item(id), text); }
  // What the window posted meanwhile runs, as the message loop would.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  void Leave(int field, int to) {
    wingui::Focus(Item(field));
    wingui::Focus(Item(to));
    Pump();
  }
  std::wstring Wide(const std::string& text) { return base::FromUtf8(text); }
  // A file to split and an empty folder for its fragments, both chosen.
  void ChooseSplit(const std::string& name, const std::vector<uint8_t>& bytes) {
    vtq::test::WriteBytes(dir_ / name, bytes);
    vtq::test::MakeFolder(dir_ / "out");
    shell_.file = Wide(dir_ / name);
    Click(main_, IDC_Command4);
    shell_.folder = Wide(dir_ / "out");
    Click(main_, IDC_Command3);
  }
  // The first fragment and a folder for the result, both chosen.
  void ChooseAssembly(const std::string& first, const std::string& folder) {
    vtq::test::MakeFolder(folder);
    shell_.file = Wide(first);
    Click(main_, IDC_Command5);
    shell_.folder = Wide(folder);
    Click(main_, IDC_Command6);
  }
  bool Shown(int id) { return IsWindowVisible(Item(id)) != FALSE; }
  // "Custom:" chosen with this value and unit position.
  void UseCustomSize(const std::wstring& value, int unit) {
    Click(main_, IDC_CustomEnabled);
    SetField(IDC_CustomSize, value);
    test::Choose(main_, IDC_CustSizeUnits, unit);
  }

  base::win::ScopedOle ole_;
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  vtq::test::RecordingBoxes boxes_;
  vtq::test::CountingLoop loop_;
  vtq::test::ScriptedAdvisor advisor_;
  FlakyDrives drives_;
  Platform platform_{boxes_, loop_, drives_, SystemFolders(), &advisor_};
  Globals globals_{platform_};
  test::ScriptedShell shell_;
  RecordingPlayer player_;
  WindowPaths paths_{globals_};
  vtq::test::RecordingPrompts prompts_;
  Prompts* activePrompts_ = &prompts_;
  vtq::test::ScratchDir dir_;
  std::unique_ptr<MainWindowController> controller_;
  std::unique_ptr<MainWindow> window_;
  HWND main_ = nullptr;
};

TEST_F(BoundMainWindowTest, TheLoadShowsTheStoredDefaultsInTheLanguage) {
  store_.Write(L"AppEvents\\Schemes\\Apps\\Zorbikant\\WexlorProgload\\.Current", L"",
               L"C:\\media\\start.wav");
  store_.WriteProgram(L"FragSizeMode", L"Custom");
  store_.WriteProgram(L"CustomSize", L"700");
  store_.WriteProgram(L"UseEncryption", L"1");
  store_.WriteProgram(L"DefaultPassphrase", L"Kestrel");
  ASSERT_TRUE(Open(L"", 1));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_EQ(player_.played, std::vector<std::wstring>{L"async C:\\media\\start.wav (window up)"});
  EXPECT_TRUE(Checked(IDC_CustomEnabled));
  EXPECT_FALSE(Checked(IDC_optPreset));
  EXPECT_TRUE(Enabled(IDC_CustomSize));
  EXPECT_EQ(Caption(IDC_CustomSize), L"700");
  EXPECT_EQ(wingui::ComboSelected(Item(IDC_CustSizeUnits)), 1);
  EXPECT_EQ(wingui::ComboSelected(Item(IDC_cmbPreset)), 1);
  EXPECT_EQ(wingui::ComboSelected(Item(IDC_FOverrideUnits)), 5);
  EXPECT_TRUE(Checked(IDC_UseEnc));
  EXPECT_TRUE(Enabled(IDC_Passphrase));
  EXPECT_EQ(Caption(IDC_Passphrase), L"Kestrel");
  EXPECT_FALSE(Enabled(IDC_cmdCabOnly));
  EXPECT_EQ(GetFocus(), Item(IDC_CustomSize));
  // The language's captions, with their mnemonics.
  EXPECT_EQ(Caption(IDC_Frame3), L"Vragment Sizes");
  EXPECT_EQ(Caption(IDC_Command4), L"Select vyle to spl&it");
  EXPECT_EQ(Caption(IDC_FirstOverride), L"Di&fferent size for 1st vragment");
  EXPECT_EQ(Caption(IDC_RegenFragBool), L"&Regen vragment");
  EXPECT_EQ(Caption(IDC_Command7), L"&Split now!");
  for (int lamp :
       {IDC_Light1, IDC_Light2, IDC_FileIndicator, IDC_FolderIndicator, IDC_Light3, IDC_Light4})
    EXPECT_EQ(Lamp(lamp), kDarkRed);
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(BoundMainWindowTest, ClicksRunTheRulesOfTheBoxesAndSizeModes) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(Caption(IDC_Command4), L"Select f&ile to split");
  EXPECT_TRUE(Checked(IDC_optPreset));
  EXPECT_FALSE(Enabled(IDC_CustomSize));
  EXPECT_FALSE(Enabled(IDC_Passphrase));

  Click(main_, IDC_UseEnc);
  EXPECT_TRUE(Enabled(IDC_Passphrase));
  EXPECT_EQ(GetFocus(), Item(IDC_Passphrase));
  EXPECT_FALSE(Enabled(IDC_cmdCabOnly));
  Click(main_, IDC_SaveBAT);
  EXPECT_FALSE(Checked(IDC_UseEnc));
  EXPECT_FALSE(Enabled(IDC_Passphrase));
  EXPECT_FALSE(Enabled(IDC_cmdCabOnly));
  Click(main_, IDC_SaveBAT);
  EXPECT_TRUE(Enabled(IDC_cmdCabOnly));

  Click(main_, IDC_CustomEnabled);
  EXPECT_TRUE(Enabled(IDC_CustomSize));
  EXPECT_TRUE(Enabled(IDC_CustSizeUnits));
  EXPECT_EQ(GetFocus(), Item(IDC_CustomSize));
  Click(main_, IDC_optPreset);
  EXPECT_FALSE(Enabled(IDC_CustomSize));

  Click(main_, IDC_FirstOverride);
  EXPECT_TRUE(Enabled(IDC_FirstOverrideValue));
  EXPECT_EQ(GetFocus(), Item(IDC_FirstOverrideValue));

  // A key typed into the fragment number ticks its box; a text that is no
  // number clears it again.
  SetField(IDC_RegenFragVal, L"3");
  EXPECT_TRUE(Checked(IDC_RegenFragBool));
  SetField(IDC_RegenFragVal, L"x");
  EXPECT_FALSE(Checked(IDC_RegenFragBool));
}

TEST_F(BoundMainWindowTest, FieldsAreCheckedWhenTheyAreLeft) {
  ASSERT_TRUE(Open());
  Click(main_, IDC_CustomEnabled);
  SetField(IDC_CustomSize, L"9");
  Leave(IDC_CustomSize, IDC_Command7);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "Please use a fragment size between 10kb and 102400kb");
  EXPECT_EQ(boxes_.shown[0].title, "Not within valid range");
  EXPECT_EQ(boxes_.shown[0].style, mb::kOk | mb::kIconCritical);
  EXPECT_EQ(GetFocus(), Item(IDC_CustomSize));

  SetField(IDC_CustomSize, L"12.7");
  Leave(IDC_CustomSize, IDC_Command7);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(Caption(IDC_CustomSize), L"12.7");  // the decimals are part of the size
  // Another unit checks the range again.
  test::Choose(main_, IDC_CustSizeUnits, 0);
  Pump();
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].title, "Not within valid range");
  EXPECT_EQ(GetFocus(), Item(IDC_CustomSize));
  test::Choose(main_, IDC_CustSizeUnits, 1);
  Pump();

  Click(main_, IDC_FirstOverride);
  SetField(IDC_FirstOverrideValue, L"");
  Leave(IDC_FirstOverrideValue, IDC_Command7);
  ASSERT_EQ(boxes_.shown.size(), 3u);
  EXPECT_EQ(boxes_.shown[2].text, "Please enter a value");
  EXPECT_EQ(boxes_.shown[2].title, "Enter a value");
  EXPECT_EQ(GetFocus(), Item(IDC_FirstOverrideValue));

  // Two wrong fields: leaving one for the other asks once about the one
  // left, and the focus goes back to it for good instead of to and fro.
  SetField(IDC_CustomSize, L"");
  Leave(IDC_FirstOverrideValue, IDC_CustomSize);
  EXPECT_EQ(boxes_.shown.size(), 4u);
  EXPECT_EQ(boxes_.shown[3].text, "Please enter a value");
  EXPECT_EQ(GetFocus(), Item(IDC_FirstOverrideValue));
}

TEST_F(BoundMainWindowTest, SelectionButtonsTurnTheirLampsGreen) {
  ASSERT_TRUE(Open());
  vtq::test::WriteBytes(dir_ / "report.doc", {1, 2, 3});
  vtq::test::WriteBytes(dir_ / "series.001", {1, 2, 3});
  vtq::test::MakeFolder(dir_ / "work");
  shell_.file = Wide(dir_ / "report.doc");
  Click(main_, IDC_Command4);
  EXPECT_EQ(Lamp(IDC_Light1), kGreen);
  EXPECT_EQ(Lamp(IDC_FileIndicator), kGreen);
  EXPECT_EQ(Lamp(IDC_FolderIndicator), kDarkRed);
  EXPECT_EQ(Lamp(IDC_Light2), kDarkRed);

  shell_.folder = Wide(dir_ / "work");
  Click(main_, IDC_cmdSelFolderToSplit);
  EXPECT_EQ(Lamp(IDC_FolderIndicator), kGreen);
  EXPECT_EQ(Lamp(IDC_FileIndicator), kDarkRed);
  Click(main_, IDC_Command3);
  EXPECT_EQ(Lamp(IDC_Light2), kGreen);
  EXPECT_FALSE(Enabled(IDC_optAutofill));  // a fixed disk

  // A file that does not exist is not chosen; a cancelled dialog changes nothing.
  shell_.file = Wide(dir_ / "gone.001");
  Click(main_, IDC_Command5);
  EXPECT_EQ(Lamp(IDC_Light3), kDarkRed);
  shell_.file = Wide(dir_ / "series.001");
  Click(main_, IDC_Command5);
  EXPECT_EQ(Lamp(IDC_Light3), kGreen);
  shell_.folder.reset();
  Click(main_, IDC_Command6);
  EXPECT_EQ(Lamp(IDC_Light4), kDarkRed);
  shell_.folder = Wide(dir_ / "work");
  Click(main_, IDC_Command6);
  EXPECT_EQ(Lamp(IDC_Light4), kGreen);
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(BoundMainWindowTest, SplitNowWritesTheSeriesAndResetsItsBar) {
  ASSERT_TRUE(Open());
  vtq::test::WriteBytes(dir_ / "data.bin", vtq::test::PatternBytes(30000, 3));
  vtq::test::MakeFolder(dir_ / "out");
  shell_.file = Wide(dir_ / "data.bin");
  Click(main_, IDC_Command4);
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command3);
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  EXPECT_EQ(Titles(), std::vector<std::string>{"Are you sure?"});
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 3 files/disks. Do you still want to proceed?");
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out"),
            (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  EXPECT_EQ(wingui::ProgressValue(Item(IDC_ProgressBar1)), 0);
  EXPECT_GT(wingui::ProgressMaximum(Item(IDC_ProgressBar1)), 0);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(prompts_.sounds, (std::vector<std::string>{"WexlorSplitfile", "WexlorDonework"}));

  // Assemble now! without a destination says so.
  Click(main_, IDC_Command8);
  EXPECT_EQ(boxes_.shown.back().text, "Please select a fragment to assemble first!");
}

TEST_F(BoundMainWindowTest, MakeCabOnlyPacksTheFolderIntoTheDestination) {
  ASSERT_TRUE(Open());
  vtq::test::MakeFolder(dir_ / "PROJECTS");
  vtq::test::MakeFolder(dir_ / "PROJECTS\\sub");
  vtq::test::WriteBytes(dir_ / "PROJECTS\\a.txt", vtq::test::PatternBytes(5000, 1));
  vtq::test::WriteBytes(dir_ / "PROJECTS\\sub\\b.txt", vtq::test::PatternBytes(700, 2));
  vtq::test::MakeFolder(dir_ / "out");
  shell_.folder = Wide(dir_ / "PROJECTS");
  Click(main_, IDC_cmdSelFolderToSplit);
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command3);
  Click(main_, IDC_cmdCabOnly);

  EXPECT_TRUE(boxes_.shown.empty()) << boxes_.shown.front().text;
  EXPECT_EQ(prompts_.sounds, (std::vector<std::string>{"WexlorCompress", "WexlorDonework"}));
  EXPECT_EQ(controller_->PackingWindowHwnd(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main_));
  cabinet::ExtractorEvents events;
  cabinet::Extractor extractor(events);
  extractor.SetCabFile(Wide(dir_ / "out\\PROJECTS.cab"));
  const cabinet::CabinetEntries& entries = extractor.Entries();
  ASSERT_EQ(entries.Count(), 2);
  std::vector<std::wstring> names = {entries.Item(1).Name, entries.Item(2).Name};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"sub\\b.txt"}));
}

// A folder whose names the tests' code page 1252 cannot carry (CJK, Greek,
// combining accents, an emoji) is packed before its split, and the
// assembly extracts it under the same names; the outcomes name it whole.
TEST_F(BoundMainWindowTest, AFolderOfNamesOutsideTheCodePageComesBackByItsNames) {
  ASSERT_TRUE(Open());
  const std::string folder =
      "\xE5\x86\x99\xE7\x9C\x9F \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 "
      "\xF0\x9F\x8E\x89";
  const std::map<std::string, std::vector<uint8_t>> tree = {
      {"Cafe\xCC\x81 cre\xCC\x80me.txt", vtq::test::PatternBytes(40000, 31)},
      {"\xCF\x88\xCF\x85\xCF\x87\xCE\xAE\\\xF0\x9F\x98\x80 \xE9\x95\xB7.bin",
       vtq::test::PatternBytes(9000, 32)}};
  vtq::test::MakeFolder(dir_ / folder);
  vtq::test::MakeFolder(dir_ / (folder + "\\\xCF\x88\xCF\x85\xCF\x87\xCE\xAE"));
  for (const auto& [name, bytes] : tree)
    vtq::test::WriteBytes(dir_ / (folder + "\\" + name), bytes);
  vtq::test::MakeFolder(dir_ / "out");
  shell_.folder = Wide(dir_ / folder);
  Click(main_, IDC_cmdSelFolderToSplit);
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command3);
  Click(main_, IDC_UseCompression);
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Are you sure?"});
  const std::vector<std::string> fragments = vtq::test::NamesIn(dir_ / "out");
  ASSERT_FALSE(fragments.empty());
  EXPECT_EQ(fragments.front(), folder + ".001");
  EXPECT_EQ(Caption(IDC_lblOutcome1), L"Split: " + std::to_wstring(fragments.size()) +
                                          L" fragments in " + Wide(dir_ / "out"));

  boxes_.shown.clear();
  ChooseAssembly(dir_ / ("out\\" + folder + ".001"), dir_ / "joined");
  Click(main_, IDC_Command8);
  EXPECT_TRUE(boxes_.shown.empty()) << boxes_.shown.front().text;
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "joined"), std::vector<std::string>{folder});
  for (const auto& [name, bytes] : tree)
    EXPECT_EQ(vtq::test::ReadBytes(dir_ / ("joined\\" + folder + "\\" + name)), bytes) << name;
  EXPECT_EQ(Caption(IDC_lblOutcome2), L"Extracted into " + Wide(dir_ / ("joined\\" + folder)));
}

TEST_F(BoundMainWindowTest, TheSplitConfirmsThePassphraseInItsDialog) {
  WindowPrompts dialogs(test::Instance(), store_, boxes_, player_, L"C:\\vtq\\");
  activePrompts_ = &dialogs;
  ASSERT_TRUE(Open());
  dialogs.SetOwner(main_);
  vtq::test::WriteBytes(dir_ / "data.bin", vtq::test::PatternBytes(30000, 5));
  vtq::test::MakeFolder(dir_ / "out");
  shell_.file = Wide(dir_ / "data.bin");
  Click(main_, IDC_Command4);
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command3);
  Click(main_, IDC_UseEnc);
  SetField(IDC_Passphrase, L"Kestrel");
  test::ModalScripts driver({{L"Password Confirmation", [](HWND dialog) {
                                EXPECT_EQ(test::TextOf(dialog, IDC_lblPrompt),
                                          L"Before splitting takes place, please retype your "
                                          L"password to confirm that you have entered it "
                                          L"correctly. Passwords are case-sensitive.");
                                test::Type(dialog, IDC_txtPassword, L"kestrel");
                                Click(dialog, IDOK);
                              }}});
  Click(main_, IDC_Command7);
  EXPECT_EQ(driver.Started(), 1u);
  EXPECT_EQ(Titles(), std::vector<std::string>{"Please try again"});
  EXPECT_EQ(boxes_.shown[0].text, "The passwords do not match.");
  EXPECT_TRUE(vtq::test::NamesIn(dir_ / "out").empty());
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(BoundMainWindowTest, DropsOfOneFileAskAndOfTwoDoNothing) {
  ASSERT_TRUE(Open());
  vtq::test::MakeFolder(dir_ / "out");
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command3);

  IDropTarget* target = window_->DropTarget();
  wingui::test::FileDropData two({L"C:\\a.txt", L"C:\\b.txt"});
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragEnter(&two, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  effect = DROPEFFECT_COPY;
  target->Drop(&two, 0, {}, &effect);
  EXPECT_EQ(Lamp(IDC_Light1), kDarkRed);
  EXPECT_TRUE(boxes_.shown.empty());

  wingui::test::FileDropData one({L"C:\\in\\report.doc"});
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragEnter(&one, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  boxes_.Answer(mb::kIdNo);
  effect = DROPEFFECT_COPY;
  target->Drop(&one, 0, {}, &effect);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(Lamp(IDC_Light1), kGreen);
  EXPECT_EQ(Lamp(IDC_FileIndicator), kGreen);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].title, "QuickSplit");
  EXPECT_EQ(boxes_.shown[0].text,
            "Would you like to split this file right now using the current settings?");
  EXPECT_EQ(boxes_.shown[0].style, mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2);

  // A first fragment: the assemble side, no question without its destination.
  wingui::test::FileDropData fragment({L"C:\\in\\series.001"});
  effect = DROPEFFECT_COPY;
  target->Drop(&fragment, 0, {}, &effect);
  EXPECT_EQ(Lamp(IDC_Light3), kGreen);
  EXPECT_EQ(boxes_.shown.size(), 1u);
}

TEST_F(BoundMainWindowTest, TheCommandLineAsksItsQuickQuestion) {
  boxes_.Answer(mb::kIdNo);
  ASSERT_TRUE(Open(L"/assext C:\\in\\s.001"));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_EQ(Titles(), std::vector<std::string>{"QuickAssemble"});
  EXPECT_EQ(Lamp(IDC_Light3), kGreen);
  EXPECT_EQ(Lamp(IDC_Light4), kGreen);
}

TEST_F(BoundMainWindowTest, AssembleNowExtractsAPickedCabinetIntoItsOwnFolder) {
  ASSERT_TRUE(Open());
  vtq::test::MakeFolder(dir_ / "BACKUP");
  vtq::test::MakeFolder(dir_ / "BACKUP\\sub");
  const auto first = vtq::test::PatternBytes(5000, 1);
  const auto second = vtq::test::PatternBytes(700, 2);
  vtq::test::WriteBytes(dir_ / "BACKUP\\a.txt", first);
  vtq::test::WriteBytes(dir_ / "BACKUP\\sub\\b.txt", second);
  cabinet::CompressorEvents packing;
  cabinet::Compressor compressor(packing);
  compressor.SetCabFile(Wide(dir_ / "BACKUP.CAB"));
  compressor.Files().AddFolder(Wide(dir_ / "BACKUP"), true);
  compressor.Compress();
  vtq::test::MakeFolder(dir_ / "out");
  shell_.file = Wide(dir_ / "BACKUP.CAB");
  shell_.existing.insert(*shell_.file);
  Click(main_, IDC_Command5);
  shell_.folder = Wide(dir_ / "out");
  Click(main_, IDC_Command6);
  Click(main_, IDC_Command8);

  EXPECT_TRUE(boxes_.shown.empty()) << boxes_.shown.front().text;
  EXPECT_EQ(prompts_.sounds, std::vector<std::string>{"WexlorExtract"});
  EXPECT_EQ(controller_->PackingWindowHwnd(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "out\\BACKUP\\a.txt"), first);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "out\\BACKUP\\sub\\b.txt"), second);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "BACKUP.CAB"));
}

TEST_F(BoundMainWindowTest, MakeCabAloneEndsWithoutShowingTheWindow) {
  store_.Write(L"AppEvents\\Schemes\\Apps\\Zorbikant\\WexlorProgexit\\.Current", L"",
               L"C:\\media\\exit.wav");
  EXPECT_FALSE(Open(L"/makecab"));
  EXPECT_FALSE(IsWindowVisible(main_));
  EXPECT_EQ(Titles(), std::vector<std::string>{"Sorry"});
  EXPECT_EQ(boxes_.shown[0].text,
            "Sorry but you may not convert the selected folder into a CAB file");
  EXPECT_TRUE(player_.played.empty());
}

TEST_F(BoundMainWindowTest, CustomizeSavedShowsTheNewLanguage) {
  ASSERT_TRUE(Open());
  test::ModalScripts driver({{L"Customize", [](HWND dialog) {
                                test::Choose(dialog, IDC_cmbLang, 1);
                                Click(dialog, IDOK);
                              }}});
  Click(main_, IDC_cmdUserOptions);
  EXPECT_EQ(driver.Started(), 1u);
  EXPECT_EQ(Caption(IDC_Frame3), L"Vragment Sizes");
  EXPECT_EQ(Caption(IDC_UseCompression), L"Compress vy&le(s) first");
}

TEST_F(BoundMainWindowTest, ExitPlaysTheExitSoundBeforeTheWindowGoes) {
  store_.Write(L"AppEvents\\Schemes\\Apps\\Zorbikant\\WexlorProgexit\\.Current", L"",
               L"C:\\media\\exit.wav");
  ASSERT_TRUE(Open());
  Click(main_, IDC_Command2);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_EQ(player_.played, std::vector<std::wstring>{L"sync C:\\media\\exit.wav (window up)"});
}

TEST_F(BoundMainWindowTest, AnEncryptedSeriesAsksForItsPassphraseOnceForTheWindowsLife) {
  ASSERT_TRUE(Open());
  const auto data = vtq::test::PatternBytes(30000, 6);
  ChooseSplit("data.bin", data);
  Click(main_, IDC_UseEnc);
  SetField(IDC_Passphrase, L"Kestrel");
  prompts_.passphrases = {"Kestrel", "Kestrel"};  // the split's confirmation, the assembly's
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  Click(main_, IDC_Command8);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.bin"), data);
  std::filesystem::remove(dir_ / "joined\\data.bin");
  Click(main_, IDC_Command8);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.bin"), data);
  EXPECT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(prompts_.asked[1].substr(0, 15), "Security check|");
}

TEST_F(BoundMainWindowTest, ADiskNotReadyDuringAnAssemblyCanBeRetried) {
  ASSERT_TRUE(Open());
  const auto data = vtq::test::PatternBytes(30000, 7);
  ChooseSplit("data.bin", data);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  boxes_.shown.clear();
  drives_.notReady = 1;
  boxes_.Answer(mb::kIdRetry);
  Click(main_, IDC_Command8);
  ASSERT_EQ(Titles(), std::vector<std::string>{"There is a problem"});
  EXPECT_EQ(boxes_.shown[0].text,
            "Please insert a disk in the drive and click retry. Otherwise click cancel to exit "
            "the program.");
  EXPECT_EQ(boxes_.shown[0].style, mb::kRetryCancel | mb::kIconExclamation);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.bin"), data);
  EXPECT_TRUE(IsWindowEnabled(main_));
  // Cancel ends the program.
  drives_.notReady = 1;
  boxes_.Answer(mb::kIdCancel);
  Click(main_, IDC_Command8);
  EXPECT_TRUE(controller_->Ended());
}

TEST_F(BoundMainWindowTest, AnAssemblyTheEngineEndsEarlyStillPlaysTheDoneSound) {
  ASSERT_TRUE(Open());
  ChooseSplit("data.bin", vtq::test::PatternBytes(30000, 8));
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  // A header that counts no fragments: the engine says so and stops.
  auto first = vtq::test::ReadBytes(dir_ / "out\\data.001");
  first[kFormatRecordLength] = first[kFormatRecordLength + 1] = 0;
  vtq::test::WriteBytes(dir_ / "out\\data.001", first);
  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  boxes_.shown.clear();
  prompts_.sounds.clear();
  Click(main_, IDC_Command8);
  EXPECT_EQ(Titles(), std::vector<std::string>{"Nothing to assemble"});
  EXPECT_EQ(prompts_.sounds, (std::vector<std::string>{"WexlorAssfile", "WexlorDonework"}));
  EXPECT_EQ(wingui::ProgressValue(Item(IDC_ProgressBar2)), 0);
}

TEST_F(BoundMainWindowTest, ClosingWithAWrongSizeClosesWithoutABox) {
  ASSERT_TRUE(Open());
  Click(main_, IDC_CustomEnabled);
  SetField(IDC_CustomSize, L"x");
  wingui::Focus(Item(IDC_CustomSize));
  SendMessageW(main_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(BoundMainWindowTest, ExitAndTheSizeChoicesAreReachedFromAWrongSize) {
  ASSERT_TRUE(Open());
  Click(main_, IDC_CustomEnabled);
  SetField(IDC_CustomSize, L"1");
  wingui::Focus(Item(IDC_CustomSize));
  // Another unit may be what makes the value right: "1" mb is.
  Leave(IDC_CustomSize, IDC_CustSizeUnits);
  test::Choose(main_, IDC_CustSizeUnits, 2);
  Pump();
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(Caption(IDC_CustomSize), L"1");
  // Decimals stay: they are part of the size.
  SetField(IDC_CustomSize, L"1.44");
  Leave(IDC_CustomSize, IDC_Command7);
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(Caption(IDC_CustomSize), L"1.44");
  // A size out of range does not keep the focus from Preset or Exit.
  SetField(IDC_CustomSize, L"1000");
  Leave(IDC_CustomSize, IDC_optPreset);
  Click(main_, IDC_optPreset);
  EXPECT_TRUE(Checked(IDC_optPreset));
  EXPECT_TRUE(boxes_.shown.empty());
  Click(main_, IDC_CustomEnabled);
  wingui::Focus(Item(IDC_CustomSize));
  Click(main_, IDC_Command2);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(BoundMainWindowTest, TypedDigitsOfTheFragmentToRegenerateAreKept) {
  ASSERT_TRUE(Open());
  wingui::Focus(Item(IDC_RegenFragVal));
  test::Type(main_, IDC_RegenFragVal, L"12");
  Pump();
  EXPECT_EQ(Caption(IDC_RegenFragVal), L"12");
  EXPECT_TRUE(Checked(IDC_RegenFragBool));
  EXPECT_EQ(GetFocus(), Item(IDC_RegenFragVal));
}

TEST_F(BoundMainWindowTest, WhatIsNotOursIsReplacedOnlyAfterAYes) {
  ASSERT_TRUE(Open());
  // Another file's series in the folder the fragments go to.
  const auto theirs = vtq::test::PatternBytes(30000, 9);
  ChooseSplit("data.txt", theirs);
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  const auto before = vtq::test::ReadBytes(dir_ / "out\\data.001");
  vtq::test::WriteBytes(dir_ / "data.bin", vtq::test::PatternBytes(30000, 10));
  shell_.file = Wide(dir_ / "data.bin");
  Click(main_, IDC_Command4);
  boxes_.shown.clear();
  boxes_.Answer(mb::kIdNo);
  Click(main_, IDC_Command7);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Replace fragments?"});
  EXPECT_EQ(boxes_.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "out\\data.001"), before);

  // An assembly over a file of the same name that holds something else.
  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  const auto kept = vtq::test::PatternBytes(100, 1);
  vtq::test::WriteBytes(dir_ / "joined\\data.txt", kept);
  boxes_.shown.clear();
  boxes_.Answer(mb::kIdNo);
  Click(main_, IDC_Command8);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Replace file?"});
  EXPECT_EQ(boxes_.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.txt"), kept);
  boxes_.Answer(mb::kIdYes);
  Click(main_, IDC_Command8);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.txt"), theirs);
}

TEST_F(BoundMainWindowTest, ADamagedFragmentIsJoinedInOnlyByChoice) {
  ASSERT_TRUE(Open());
  ChooseSplit("data.bin", vtq::test::PatternBytes(30000, 11));
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  auto second = vtq::test::ReadBytes(dir_ / "out\\data.002");
  second[100] ^= 1;
  vtq::test::WriteBytes(dir_ / "out\\data.002", second);
  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  boxes_.shown.clear();
  boxes_.Answer(mb::kIdNo);
  Click(main_, IDC_Command8);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Warning"});
  EXPECT_EQ(boxes_.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "joined\\data.bin"));
}

TEST_F(BoundMainWindowTest, LampsTellTheirPathsAndAFinishedCommandSaysWhatItDid) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(controller_->LampTip(IDC_Light1), L"No file or folder to split chosen yet");
  ChooseSplit("notes.txt", vtq::test::PatternBytes(30000, 12));
  EXPECT_EQ(controller_->LampTip(IDC_Light1), L"File to split: " + Wide(dir_ / "notes.txt"));
  EXPECT_EQ(controller_->LampTip(IDC_FileIndicator), L"File to split: " + Wide(dir_ / "notes.txt"));
  EXPECT_EQ(controller_->LampTip(IDC_Light2), L"Fragments go to: " + Wide(dir_ / "out\\"));
  // The folder browser opens at the last folder used; the next one at its own.
  EXPECT_EQ(shell_.browsersAt.back(), Wide(WithTrailingSeparator(dir_.Path())));
  Click(main_, IDC_Command3);
  EXPECT_EQ(shell_.browsersAt.back(), Wide(dir_ / "out\\"));

  // Raw fragments with their batch file; the bar gives way to what was done.
  Click(main_, IDC_SaveBAT);
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  EXPECT_TRUE(Shown(IDC_lblOutcome1));
  EXPECT_FALSE(Shown(IDC_ProgressBar1));
  EXPECT_EQ(Caption(IDC_lblOutcome1), L"Split: 3 fragments in " + Wide(dir_ / "out"));

  // The assembly names its result the way the batch file does.
  ChooseAssembly(dir_ / "out\\notes.001", dir_ / "joined");
  EXPECT_FALSE(Shown(IDC_lblOutcome1));  // the next action took it away
  EXPECT_TRUE(Shown(IDC_ProgressBar1));
  EXPECT_EQ(shell_.fileDialogsAt.back(), Wide(dir_ / "out\\"));
  EXPECT_EQ(controller_->LampTip(IDC_Light3), L"To assemble: " + Wide(dir_ / "out\\notes.001"));
  prompts_.answers = {Answer::kYes};  // raw data, should the bytes look like the older format
  Click(main_, IDC_Command8);
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\notes.txt"), vtq::test::PatternBytes(30000, 12));
  EXPECT_EQ(Caption(IDC_lblOutcome2), L"Assembled: " + Wide(dir_ / "joined\\notes.txt"));
  EXPECT_TRUE(Shown(IDC_lblOutcome2));
}

// Recovery files with the split; one fragment deleted and one damaged;
// Verify tells so, the assembly offers the repair and the file comes back.
TEST_F(BoundMainWindowTest, RecoveryFilesVerifyAndRepairBeforeAssembling) {
  ASSERT_TRUE(Open());
  const std::vector<uint8_t> data = vtq::test::PatternBytes(30000, 21);
  ChooseSplit("data.bin", data);
  EXPECT_TRUE(Enabled(IDC_UseRecovery));
  EXPECT_FALSE(Enabled(IDC_RecoveryPercent));
  Click(main_, IDC_UseRecovery);
  EXPECT_TRUE(Enabled(IDC_RecoveryPercent));
  SetField(IDC_RecoveryPercent, L"100");
  UseCustomSize(L"10", 1);
  boxes_.Answer(mb::kIdOk);
  Click(main_, IDC_Command7);
  EXPECT_EQ(Titles(), std::vector<std::string>{"Are you sure?"});
  EXPECT_TRUE(std::filesystem::exists(dir_ / "out\\data.par2"));
  EXPECT_EQ(Caption(IDC_lblOutcome1),
            L"Split: 3 fragments in " + Wide(dir_ / "out") + L"; recovery files rebuild 3 lost");

  ChooseAssembly(dir_ / "out\\data.001", dir_ / "joined");
  boxes_.shown.clear();
  Click(main_, IDC_cmdVerify);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Verify"});
  EXPECT_EQ(boxes_.shown[0].text.substr(0, 41), "The series is sound: all 3 fragments are ");
  EXPECT_EQ(boxes_.shown[0].style, mb::kOk | mb::kIconInformation);

  std::filesystem::remove(dir_ / "out\\data.002");
  auto third = vtq::test::ReadBytes(dir_ / "out\\data.003");
  third[100] ^= 1;
  vtq::test::WriteBytes(dir_ / "out\\data.003", third);
  boxes_.shown.clear();
  Click(main_, IDC_cmdVerify);
  ASSERT_EQ(Titles(), std::vector<std::string>{"Verify"});
  const std::string& broken = boxes_.shown[0].text;
  EXPECT_NE(broken.find("Missing: fragment 2 (data.002)"), std::string::npos) << broken;
  EXPECT_NE(broken.find("Damaged: fragment 3 (data.003)"), std::string::npos) << broken;
  EXPECT_NE(broken.find("can rebuild 2 fragments at fault"), std::string::npos) << broken;
  EXPECT_EQ(boxes_.shown[0].style, mb::kOk | mb::kIconExclamation);

  boxes_.shown.clear();
  boxes_.Answer(mb::kIdYes);
  Click(main_, IDC_Command8);
  ASSERT_FALSE(boxes_.shown.empty());
  EXPECT_EQ(boxes_.shown[0].title, "Repair");
  EXPECT_EQ(Titles(), std::vector<std::string>{"Repair"});
  EXPECT_EQ(vtq::test::ReadBytes(dir_ / "joined\\data.bin"), data);
  EXPECT_EQ(Caption(IDC_lblOutcome2), L"Assembled: " + Wide(dir_ / "joined\\data.bin"));
  EXPECT_EQ(wingui::ProgressValue(Item(IDC_ProgressBar2)), 0);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(BoundMainWindowTest, RecoveryFilesAreNotOfferedOnARemovableDisk) {
  ASSERT_TRUE(Open());
  Click(main_, IDC_UseRecovery);
  // A: is the Wine prefix's floppy drive.
  shell_.folder = L"A:\\";
  Click(main_, IDC_Command3);
  if (!paths_.DiskRemovable(L"A:"))
    GTEST_SKIP() << "no removable drive A: in this prefix";
  EXPECT_FALSE(Enabled(IDC_UseRecovery));
  EXPECT_FALSE(Enabled(IDC_RecoveryPercent));
  EXPECT_EQ(Caption(IDC_lblRecoveryNote), L"Not on removable disks, where the series spans disks");
}

}  // namespace
}  // namespace vtq::app
