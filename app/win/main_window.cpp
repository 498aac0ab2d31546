#include "app/win/main_window.h"

#include <commctrl.h>

#include "app/win/customize_dialog.h"
#include "app/win/help_opener.h"
#include "app/win/resource_ids.h"
#include "app/win/theme_colours.h"
#include "wingui/controls.h"
#include "wingui/lamp.h"

namespace vtq::app {
namespace {

constexpr int kLamps[] = {IDC_Light1,          IDC_Light2, IDC_FileIndicator,
                          IDC_FolderIndicator, IDC_Light3, IDC_Light4};

constexpr const wchar_t* kUnits[] = {L"bytes", L"kb", L"mb", L"x 1.38Mb"};
constexpr const wchar_t* kSmallerUnits[] = {L"bytes smaller", L"kb smaller", L"mb smaller"};
constexpr const wchar_t* kPresets[] = {L"720kb (DSDD floppy)", L"1.44Mb (DSHD floppy)", L"1.72Mb",
                                       L"2.88Mb"};

HICON ProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_Harrowdel), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, int currentLanguage, MainWindowBinding* binding)
    : services_(std::move(services)), language_(currentLanguage), binding_(binding) {}

MainWindow::~MainWindow() {
  // The drop registration goes while the window still exists.
  dropRegistration_.reset();
}

bool MainWindow::Create() {
  return CreateModeless(services_.instance, IDD_Form1, nullptr);
}

bool MainWindow::OnInit() {
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(ProgramIcon(services_.instance, 32)));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(services_.instance, 16)));
  for (int lamp : kLamps)
    wingui::MakeLamp(Item(lamp), wingui::kLampDarkRed);
  for (int bar : {IDC_ProgressBar1, IDC_ProgressBar2}) {
    wingui::ProgressSetRange(Item(bar), 100);
    wingui::ProgressSetValue(Item(bar), 0);
  }
  FillLists();
  ApplyStoredTheme();

  // Frame1, Frame2 and Image1 are children of the window: OLE hands their
  // drags to the window's target.
  dropTarget_ = wingui::FileDropTarget::Create(
      [this](const std::vector<std::wstring>& paths, bool dropping) -> DWORD {
        return binding_ ? binding_->FilesOffered(*this, paths, dropping) : DROPEFFECT_NONE;
      });
  dropRegistration_ = std::make_unique<wingui::DropRegistration>(Hwnd(), dropTarget_.Get());

  if (binding_)
    binding_->Loaded(*this);
  return true;
}

void MainWindow::FillLists() {
  HWND custom = Item(IDC_CustSizeUnits);
  HWND first = Item(IDC_FOverrideUnits);
  HWND presets = Item(IDC_cmbPreset);
  for (HWND list : {custom, first, presets})
    wingui::ComboClear(list);
  for (const wchar_t* unit : kUnits) {
    wingui::ComboAdd(custom, unit);
    wingui::ComboAdd(first, unit);
  }
  for (const wchar_t* unit : kSmallerUnits)
    wingui::ComboAdd(first, unit);
  for (const wchar_t* preset : kPresets)
    wingui::ComboAdd(presets, preset);
}

void MainWindow::ApplyStoredTheme() {
  ApplyColours(ThemeColours(services_.store.Theme()));
}

model::MainWindowDefaults MainWindow::ReadDefaults() const {
  model::MainWindowDefaults window;
  window.useCompression = wingui::IsChecked(Item(IDC_UseCompression));
  window.saveBat = wingui::IsChecked(Item(IDC_SaveBAT));
  window.useEncryption = wingui::IsChecked(Item(IDC_UseEnc));
  window.passphrase = wingui::GetText(Item(IDC_Passphrase));
  window.customSize = wingui::GetText(Item(IDC_CustomSize));
  window.customSizeUnits = wingui::ComboSelected(Item(IDC_CustSizeUnits));
  window.firstOverride = wingui::IsChecked(Item(IDC_FirstOverride));
  window.firstOverrideValue = wingui::GetText(Item(IDC_FirstOverrideValue));
  window.firstOverrideUnits = wingui::ComboSelected(Item(IDC_FOverrideUnits));
  window.presetPosition = wingui::ComboSelected(Item(IDC_cmbPreset));
  window.useRecovery = wingui::IsChecked(Item(IDC_UseRecovery));
  window.recoveryPercent = wingui::GetText(Item(IDC_RecoveryPercent));
  if (wingui::IsChecked(Item(IDC_optPreset)))
    window.sizeMode = model::SizeModeChoice::kPreset;
  else if (wingui::IsChecked(Item(IDC_optAutofill)))
    window.sizeMode = model::SizeModeChoice::kAutofill;
  else
    window.sizeMode = model::SizeModeChoice::kCustom;
  return window;
}

void MainWindow::OpenCustomize() {
  CustomizeDialog dialog(services_.instance, services_.store, services_.boxes, language_,
                         [this] { return ReadDefaults(); });
  dialog.Show(Hwnd());
  if (const auto language = dialog.SavedLanguage()) {
    language_ = *language;
    ApplyStoredTheme();
    if (binding_)
      binding_->CustomizeSaved(*this, language_);
  }
}

void MainWindow::OpenHelp() {
  app::OpenHelp(Hwnd(), services_.shell, services_.boxes, services_.programFolder);
}

bool MainWindow::OnCommand(int id, int code, HWND) {
  if (binding_ && binding_->Command(*this, id, code))
    return true;
  switch (id) {
    case IDC_cmdUserOptions:
      OpenCustomize();
      return true;
    case IDC_cmdHelp:
      OpenHelp();
      return true;
    case IDC_Command2:
      Unload();
      return true;
    case IDCANCEL:  // Esc does not close a main window
      return true;
    default:
      return false;
  }
}

std::optional<INT_PTR> MainWindow::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    Unload();
    return TRUE;
  }
  return std::nullopt;
}

void MainWindow::Unload() {
  if (binding_)
    binding_->Unloading(*this);
  End(0);
}

void MainWindow::OnDestroy() {
  dropRegistration_.reset();
  PostQuitMessage(0);
}

}  // namespace vtq::app
