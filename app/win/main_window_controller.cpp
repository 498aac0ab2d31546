#include "app/win/main_window_controller.h"

#include <array>
#include <cwctype>
#include <optional>
#include <utility>

#include "app/operations/temp_folder.h"
#include "app/operations/temporary_cabinet.h"
#include "app/win/resource_ids.h"
#include "base/utf8_text.h"
#include "wingui/controls.h"
#include "wingui/lamp.h"

namespace vtq::app {
namespace {

using model::Control;
using namespace std::string_literals;

struct ControlId {
  Control control;
  int id;
};

constexpr std::array<ControlId, 42> kControlIds = {{
    {Control::kFrame1, IDC_Frame1},
    {Control::kCommand4, IDC_Command4},
    {Control::kCmdSelFolderToSplit, IDC_cmdSelFolderToSplit},
    {Control::kCommand3, IDC_Command3},
    {Control::kUseCompression, IDC_UseCompression},
    {Control::kSaveBAT, IDC_SaveBAT},
    {Control::kCmdCabOnly, IDC_cmdCabOnly},
    {Control::kCommand7, IDC_Command7},
    {Control::kFrame2, IDC_Frame2},
    {Control::kCommand5, IDC_Command5},
    {Control::kCommand6, IDC_Command6},
    {Control::kCommand8, IDC_Command8},
    {Control::kFrame3, IDC_Frame3},
    {Control::kOptPreset, IDC_optPreset},
    {Control::kCmbPreset, IDC_cmbPreset},
    {Control::kOptAutofill, IDC_optAutofill},
    {Control::kCustomEnabled, IDC_CustomEnabled},
    {Control::kCustomSize, IDC_CustomSize},
    {Control::kCustSizeUnits, IDC_CustSizeUnits},
    {Control::kFirstOverride, IDC_FirstOverride},
    {Control::kFirstOverrideValue, IDC_FirstOverrideValue},
    {Control::kFOverrideUnits, IDC_FOverrideUnits},
    {Control::kFrameEnc, IDC_frameEnc},
    {Control::kUseEnc, IDC_UseEnc},
    {Control::kPassphrase, IDC_Passphrase},
    {Control::kFrmRegen, IDC_frmRegen},
    {Control::kRegenFragBool, IDC_RegenFragBool},
    {Control::kRegenFragVal, IDC_RegenFragVal},
    {Control::kLight1, IDC_Light1},
    {Control::kLight2, IDC_Light2},
    {Control::kFileIndicator, IDC_FileIndicator},
    {Control::kFolderIndicator, IDC_FolderIndicator},
    {Control::kLight3, IDC_Light3},
    {Control::kLight4, IDC_Light4},
    {Control::kProgressBar1, IDC_ProgressBar1},
    {Control::kProgressBar2, IDC_ProgressBar2},
    {Control::kCmdHelp, IDC_cmdHelp},
    {Control::kCmdUserOptions, IDC_cmdUserOptions},
    {Control::kCommand2, IDC_Command2},
    {Control::kUseRecovery, IDC_UseRecovery},
    {Control::kRecoveryPercent, IDC_RecoveryPercent},
    {Control::kCmdVerify, IDC_cmdVerify},
}};

int IdOf(Control control) {
  for (const ControlId& entry : kControlIds) {
    if (entry.control == control)
      return entry.id;
  }
  return 0;
}

std::optional<Control> ControlOf(int id) {
  for (const ControlId& entry : kControlIds) {
    if (entry.id == id)
      return entry.control;
  }
  return std::nullopt;
}

// The text up to its first NUL, as the folder browser's answer is taken.
std::wstring CutAtNul(std::wstring text) {
  if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos)
    text.resize(nul);
  return text;
}

// The captions that never change with the language.
struct FixedCaption {
  int id;
  const wchar_t* text;
  wchar_t mnemonic;  // 0: none
};
constexpr FixedCaption kFixedCaptions[] = {
    {IDC_cmdSelFolderToSplit, L"Select folder to split", L'o'},
    {IDC_SaveBAT, L"Generate BAT AutoAssembler", L'G'},
    {IDC_cmdCabOnly, L"Make CAB only", L'B'},
    {IDC_Command7, L"Split now!", L'S'},
    {IDC_Command8, L"Assemble now!", L'm'},
    {IDC_frameEnc, L"Encryption", 0},
    {IDC_UseEnc, L"Use password:", L'p'},
    {IDC_optPreset, L"Preset:", L'e'},
    {IDC_optAutofill, L"Fill space", L'c'},
    {IDC_CustomEnabled, L"Custom:", L't'},
    {IDC_cmdHelp, L"Online Help", L'H'},
    {IDC_cmdUserOptions, L"Customize", L'z'},
    {IDC_Command2, L"Exit", L'x'},
};

// The caption with "&" before the first occurrence of its mnemonic letter,
// in either case; each letter lies in the captions of both languages.
std::wstring WithMnemonic(std::wstring_view text, wchar_t letter) {
  std::wstring shown(text);
  if (letter == 0)
    return shown;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (std::towlower(shown[i]) == std::towlower(letter)) {
      shown.insert(i, 1, L'&');
      break;
    }
  }
  return shown;
}

const wchar_t kSplitFileTitle[] = L"Please select the file to split...";
const std::wstring kSplitFileFilter = L"All Files (*.*)\0*.*\0"s;
const wchar_t kAssembleFileTitle[] = L"Please select the file to assemble...";
const std::wstring kAssembleFileFilter =
    L"All supported files (*.001,*.cab)\0*.001;*.cab\0Vantrelloquin Fragments (*.001)\0*.001\0"
    L"Cabinet Files  (*.cab)\0*.cab\0"s;
const wchar_t kSplitFolderTitle[] = L"Select the folder which you would like to split...";
const wchar_t kSplitDestinationTitle[] = L"Select the folder to save your fragments or CAB...";
const wchar_t kAssembleDestinationTitle[] = L"Select the folder to save the assembled file...";

// Where the focus may go from a size field without the field being
// checked: to another size mode or unit (which may be what makes the value
// right), to Exit, to help.
constexpr int kLeavingUnchecked[] = {IDC_optPreset,     IDC_optAutofill,    IDC_CustomEnabled,
                                     IDC_CustSizeUnits, IDC_FOverrideUnits, IDC_Command2,
                                     IDC_cmdHelp};
constexpr int kCheckedFields[] = {IDC_CustomSize, IDC_FirstOverrideValue};

struct BarOutcome {
  int bar;
  int label;
};
constexpr BarOutcome kBarOutcomes[] = {{IDC_ProgressBar1, IDC_lblOutcome1},
                                       {IDC_ProgressBar2, IDC_lblOutcome2}};

constexpr Control kLamps[] = {Control::kLight1,          Control::kLight2, Control::kFileIndicator,
                              Control::kFolderIndicator, Control::kLight3, Control::kLight4};

}  // namespace

MainWindowController::MainWindowController(ControllerServices services)
    : services_(std::move(services)),
      model_(services_.paths),
      splitter_(services_.globals),
      assembler_(services_.globals),
      splitterEvents_(model_, *this, IsNtFamily()),
      assembleEvents_(model_, *this),
      packingWindow_(services_.instance, [this] { return Hwnd(); }),
      commands_{services_.globals,
                splitter_,
                assembler_,
                services_.paths,
                services_.prompts,
                *this,
                splitterEvents_,
                assembleEvents_,
                packer_,
                packingWindow_,
                unpacker_,
                [] { return TemporaryCabinetFolder(TempFolder(), CanCreateFilesIn); }} {}

HWND MainWindowController::Hwnd() const {
  return window_ != nullptr ? window_->Hwnd() : nullptr;
}

HWND MainWindowController::Item(int id) const {
  return GetDlgItem(Hwnd(), id);
}

bool MainWindowController::Load(std::wstring_view commandLine) {
  const model::LoadInputs inputs{commandLine, window_->CurrentLanguage(), services_.programFolder};
  return model::LoadMainWindow(model_, *this, services_.store, services_.player, inputs);
}

void MainWindowController::AskAndAct(const std::optional<model::Prompt>& prompt) {
  if (!prompt)
    return;
  // The box takes the focus from the field it is about; that is no leaving.
  const bool outer = !std::exchange(validating_, true);
  model::AskAndAct(model_, *this, *prompt);
  if (outer)
    validating_ = false;
}

void MainWindowController::Loaded(MainWindow& window) {
  tips_.Create(window.Hwnd());
  for (int id : kCheckedFields) {
    focusWatches_.push_back(std::make_unique<wingui::FocusLossWatch>(
        GetDlgItem(window.Hwnd(), id), [this](HWND next) { focusGoingTo_ = next; }));
  }
}

bool MainWindowController::Command(MainWindow&, int id, int code) {
  const std::optional<Control> control = ControlOf(id);
  if (!control)
    return false;
  if (rendering_ || closing_)
    return true;
  switch (id) {
    case IDC_UseCompression:
    case IDC_SaveBAT:
    case IDC_UseEnc:
    case IDC_FirstOverride:
    case IDC_RegenFragBool:
    case IDC_UseRecovery:
      if (code == BN_CLICKED) {
        model_.CheckBoxClicked(*control, wingui::IsChecked(Item(id)));
        Present();
      }
      return true;
    case IDC_optPreset:
    case IDC_optAutofill:
    case IDC_CustomEnabled:
      if (code == BN_CLICKED && wingui::IsChecked(Item(id))) {
        model_.ChooseSizeMode(id == IDC_optPreset     ? model::SizeMode::kPreset
                              : id == IDC_optAutofill ? model::SizeMode::kAutofill
                                                      : model::SizeMode::kCustom);
        Present();
      }
      return true;
    case IDC_CustomSize:
    case IDC_FirstOverrideValue:
    case IDC_Passphrase:
    case IDC_RegenFragVal:
    case IDC_RecoveryPercent:
      if (code == EN_CHANGE) {
        // What is typed or pasted arrives here; the key comes first.
        if (id == IDC_RegenFragVal)
          model_.KeyTyped(*control);
        model_.TextChanged(*control, wingui::GetText(Item(id)));
        Present();
      } else if (code == EN_SETFOCUS && returningTo_ == control) {
        returningTo_.reset();
      } else if (code == EN_KILLFOCUS && !validating_) {
        FieldLeft(*control);
      }
      return true;
    case IDC_cmbPreset:
    case IDC_CustSizeUnits:
    case IDC_FOverrideUnits:
      if (code == CBN_SELCHANGE) {
        const std::optional<model::Prompt> prompt =
            model_.ListSelected(*control, wingui::ComboSelected(Item(id)));
        Present();
        AskAndAct(prompt);
      }
      return true;
    default:
      break;
  }
  if (code != BN_CLICKED)
    return false;
  switch (id) {
    case IDC_Command4:
      ChooseFileToSplit();
      return true;
    case IDC_cmdSelFolderToSplit:
      ChooseFolderToSplit();
      return true;
    case IDC_Command3:
      ChooseSplitDestination();
      return true;
    case IDC_Command5:
      ChooseFragments();
      return true;
    case IDC_Command6:
      ChooseAssembleDestination();
      return true;
    case IDC_Command7:
      RunQuickCommand(model::QuickCommand::kSplit);
      return true;
    case IDC_Command8:
      RunQuickCommand(model::QuickCommand::kAssemble);
      return true;
    case IDC_cmdCabOnly:
      RunQuickCommand(model::QuickCommand::kMakeCab);
      return true;
    case IDC_cmdVerify:
      if (!running_) {
        running_ = true;
        model_.ClearOutcomes();
        Present();
        Verify(model_.State(), commands_);
        running_ = false;
        Present();
      }
      return true;
    default:
      // Help, Customize and Exit are the window's own.
      return false;
  }
}

void MainWindowController::FieldLeft(Control field) {
  // Leaving a field on the way back to one whose check failed is not
  // checked: two wrong fields would otherwise send the focus to and fro
  // for ever.
  if (returningTo_) {
    returningTo_.reset();
    return;
  }
  const bool sizeField = field == Control::kCustomSize || field == Control::kFirstOverrideValue;
  if (sizeField) {
    const HWND next = std::exchange(focusGoingTo_, nullptr);
    // Out of the window (another program, a box of its own) the field is
    // not left for good; to a choice that may mend it, or to Exit, it is
    // not checked.
    if (next == nullptr || GetAncestor(next, GA_ROOT) != Hwnd())
      return;
    for (int id : kLeavingUnchecked) {
      if (next == Item(id))
        return;
    }
  }
  // The focus is on its way elsewhere: the check's box and its move back
  // to the field must not start another leaving.
  validating_ = true;
  const std::optional<model::Prompt> prompt = model_.FieldLeft(field);
  Present();
  if (prompt) {
    returningTo_ = prompt->focus;
    model::AskAndAct(model_, *this, *prompt);
  }
  validating_ = false;
}

std::wstring MainWindowController::StartFolder(Control button) const {
  return model_.StartFolderFor(button);
}

void MainWindowController::ChooseFileToSplit() {
  const auto file = services_.shell.ChooseFile(
      Hwnd(), {kSplitFileTitle, kSplitFileFilter, StartFolder(Control::kCommand4)});
  if (file && services_.paths.Exists(*file)) {
    model_.FileToSplitChosen(*file);
    Present();
  }
}

void MainWindowController::ChooseFolderToSplit() {
  if (const auto folder = services_.shell.ChooseFolder(
          Hwnd(), kSplitFolderTitle, StartFolder(Control::kCmdSelFolderToSplit))) {
    model_.FolderToSplitChosen(CutAtNul(*folder));
    Present();
  }
}

void MainWindowController::ChooseSplitDestination() {
  if (const auto folder = services_.shell.ChooseFolder(Hwnd(), kSplitDestinationTitle,
                                                       StartFolder(Control::kCommand3))) {
    model_.SplitDestinationChosen(CutAtNul(*folder));
    Present();
  }
}

void MainWindowController::ChooseFragments() {
  const auto file = services_.shell.ChooseFile(
      Hwnd(), {kAssembleFileTitle, kAssembleFileFilter, StartFolder(Control::kCommand5)});
  if (file && services_.paths.Exists(*file)) {
    model_.FragmentsChosen(*file);
    Present();
  }
}

void MainWindowController::ChooseAssembleDestination() {
  if (const auto folder = services_.shell.ChooseFolder(Hwnd(), kAssembleDestinationTitle,
                                                       StartFolder(Control::kCommand6))) {
    model_.AssembleDestinationChosen(CutAtNul(*folder));
    Present();
  }
}

DWORD MainWindowController::FilesOffered(MainWindow&, const std::vector<std::wstring>& paths,
                                         bool dropping) {
  // A drop while a command runs would change what it reads.
  if (running_)
    return DROPEFFECT_NONE;
  const DWORD effect =
      model::DragOverEffect(paths) == model::DropEffect::kCopy ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  if (dropping) {
    const std::optional<model::Prompt> question = model_.Drop(paths);
    Present();
    AskAndAct(question);
  }
  return effect;
}

void MainWindowController::CustomizeSaved(MainWindow&, int language) {
  model_.ApplyLanguageChange(language);
  Present();
}

void MainWindowController::Unloading(MainWindow&) {
  // The fields lose the focus as the window goes; none is checked then, so
  // that no box outlives the window and closing always closes.
  closing_ = true;
  model::UnloadMainWindow(services_.store, services_.player, services_.programFolder);
}

void MainWindowController::ApplyTheme() {
  window_->ApplyStoredTheme();
}

void MainWindowController::Render(const model::MainWindowState& s) {
  const bool outer = !std::exchange(rendering_, true);
  const model::Captions& c = s.captions;
  struct LanguageCaption {
    int id;
    const std::wstring& text;
    wchar_t mnemonic;
  };
  const LanguageCaption captions[] = {
      {IDC_Frame1, c.frame1, 0},
      {IDC_Frame2, c.frame2, 0},
      {IDC_Command4, c.command4, L'i'},
      {IDC_Command3, c.command3, L'd'},
      {IDC_Command5, c.command5, L'a'},
      {IDC_Command6, c.command6, L'n'},
      {IDC_Frame3, c.frame3, 0},
      {IDC_FirstOverride, c.firstOverride, L'f'},
      {IDC_UseCompression, c.useCompression, L'l'},
      {IDC_frmRegen, c.frmRegen, 0},
      {IDC_RegenFragBool, c.regenFragBool, L'R'},
  };
  for (const LanguageCaption& caption : captions)
    SetCaption(caption.id, WithMnemonic(caption.text, caption.mnemonic));
  for (const FixedCaption& caption : kFixedCaptions)
    SetCaption(caption.id, WithMnemonic(caption.text, caption.mnemonic));
  const std::pair<int, const model::CheckBox*> boxes[] = {
      {IDC_UseCompression, &s.useCompression},
      {IDC_SaveBAT, &s.saveBat},
      {IDC_UseEnc, &s.useEnc},
      {IDC_FirstOverride, &s.firstOverride},
      {IDC_RegenFragBool, &s.regenFragBool},
      {IDC_UseRecovery, &s.useRecovery},
  };
  for (const auto& [id, box] : boxes) {
    wingui::SetChecked(Item(id), box->checked);
    wingui::SetEnabled(Item(id), box->enabled);
  }
  wingui::SetChecked(Item(IDC_optPreset), s.sizeMode == model::SizeMode::kPreset);
  wingui::SetChecked(Item(IDC_optAutofill), s.sizeMode == model::SizeMode::kAutofill);
  wingui::SetChecked(Item(IDC_CustomEnabled), s.sizeMode == model::SizeMode::kCustom);
  wingui::SetEnabled(Item(IDC_optAutofill), s.optAutofillEnabled);
  wingui::SetEnabled(Item(IDC_cmdCabOnly), s.cmdCabOnlyEnabled);
  if (wingui::GetText(Item(IDC_lblRecoveryNote)) != s.recoveryNote)
    wingui::SetText(Item(IDC_lblRecoveryNote), s.recoveryNote);
  const std::pair<int, const model::TextField*> fields[] = {
      {IDC_CustomSize, &s.customSize},           {IDC_FirstOverrideValue, &s.firstOverrideValue},
      {IDC_Passphrase, &s.passphrase},           {IDC_RegenFragVal, &s.regenFragVal},
      {IDC_RecoveryPercent, &s.recoveryPercent},
  };
  for (const auto& [id, field] : fields) {
    // Only a text that differs is put back, so that the caret stays.
    if (wingui::GetText(Item(id)) != field->text)
      wingui::SetText(Item(id), field->text);
    wingui::SetEnabled(Item(id), field->enabled);
  }
  const std::pair<int, const model::ListField*> lists[] = {
      {IDC_cmbPreset, &s.cmbPreset},
      {IDC_CustSizeUnits, &s.custSizeUnits},
      {IDC_FOverrideUnits, &s.fOverrideUnits},
  };
  for (const auto& [id, list] : lists) {
    if (wingui::ComboSelected(Item(id)) != list->position)
      wingui::ComboSelect(Item(id), list->position);
    wingui::SetEnabled(Item(id), list->enabled);
  }
  const std::pair<int, int32_t> lamps[] = {
      {IDC_Light1, s.light1},
      {IDC_Light2, s.light2},
      {IDC_FileIndicator, s.fileIndicator},
      {IDC_FolderIndicator, s.folderIndicator},
      {IDC_Light3, s.light3},
      {IDC_Light4, s.light4},
  };
  for (const auto& [id, colour] : lamps)
    wingui::SetLampColour(Item(id), static_cast<COLORREF>(colour));
  for (Control lamp : kLamps)
    tips_.SetText(Item(IdOf(lamp)), model_.LampTip(lamp));
  DrawProgress(s);
  if (outer)
    rendering_ = false;
}

void MainWindowController::SetCaption(int id, const std::wstring& caption) {
  if (wingui::GetText(Item(id)) != caption)
    wingui::SetText(Item(id), caption);
}

void MainWindowController::DrawProgress(const model::MainWindowState& s) {
  for (const auto& [id, bar] :
       {std::pair{IDC_ProgressBar1, s.progressBar1}, std::pair{IDC_ProgressBar2, s.progressBar2}}) {
    if (wingui::ProgressMaximum(Item(id)) != bar.max)
      wingui::ProgressSetRange(Item(id), bar.max);
    wingui::ProgressSetValue(Item(id), bar.value);
  }
  // A command's outcome shows where its bar is, until the next action.
  for (const BarOutcome& place : kBarOutcomes) {
    const std::wstring& outcome =
        place.bar == IDC_ProgressBar1 ? s.splitOutcome : s.assembleOutcome;
    if (wingui::GetText(Item(place.label)) != outcome)
      wingui::SetText(Item(place.label), outcome);
    ShowWindow(Item(place.label), outcome.empty() ? SW_HIDE : SW_SHOW);
    ShowWindow(Item(place.bar), outcome.empty() ? SW_SHOW : SW_HIDE);
  }
}

void MainWindowController::MoveFocus(Control control) {
  const int id = IdOf(control);
  // Moved to the control that has it, the focus would select an edit's text.
  if (id == 0 || GetFocus() == Item(id))
    return;
  // While another focus change is under way, a sent move would race it;
  // a posted one comes after it.
  if (validating_)
    PostMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
  else
    wingui::Focus(Item(id));
}

void MainWindowController::Show() {
  ShowWindow(Hwnd(), SW_SHOW);
  UpdateWindow(Hwnd());
}

int MainWindowController::Ask(const model::Prompt& prompt) {
  return services_.globals.GetPlatform().boxes.Show(base::ToUtf8(prompt.text),
                                                    base::ToUtf8(prompt.title), prompt.style);
}

void MainWindowController::RunQuickCommand(model::QuickCommand command) {
  if (running_ || command == model::QuickCommand::kNone)
    return;
  running_ = true;
  model_.ClearOutcomes();
  Present();
  // The window's own state, read as it stands: the run changes only the
  // progress and the outcome, and takes the window's input away meanwhile.
  const model::MainWindowState& state = model_.State();
  switch (command) {
    case model::QuickCommand::kSplit:
      Split(state, commands_);
      break;
    case model::QuickCommand::kAssemble:
      Assemble(state, commands_);
      break;
    case model::QuickCommand::kMakeCab:
      MakeCab(state, commands_);
      break;
    case model::QuickCommand::kNone:
      break;
  }
  running_ = false;
  Present();
}

void MainWindowController::EndProgram() {
  ended_ = true;
  // A shown window unloads as Exit closes it; one never shown just goes.
  if (IsWindowVisible(Hwnd()))
    PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

void MainWindowController::EnableInput(bool enabled) {
  EnableWindow(Hwnd(), enabled ? TRUE : FALSE);
}

void MainWindowController::ResetProgress(Control bar) {
  model_.ResetProgress(bar);
  DrawProgress(model_.State());
}

void MainWindowController::ShowOutcome(Control bar, std::wstring text) {
  model_.SetOutcome(bar, std::move(text));
  DrawProgress(model_.State());
}

void MainWindowController::ShowProgress(Control bar, int32_t value, int32_t max) {
  if (bar == Control::kProgressBar1) {
    model_.SplitStart(max);
    model_.SplitInterval(value);
  } else {
    model_.AssembleStart(max);
    model_.AssembleInterval(value);
  }
  ProgressChanged();
}

void MainWindowController::ProgressChanged() {
  DrawProgress(model_.State());
}

void MainWindowController::FormatDrive(unsigned drive, unsigned formatId, unsigned options) {
  services_.shell.FormatDrive(Hwnd(), drive, formatId, options);
}

}  // namespace vtq::app
