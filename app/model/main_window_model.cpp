#include "app/model/main_window_model.h"

#include <utility>

#include "app/model/basic_numeric.h"
#include "app/model/shell_paths.h"
#include "app/operations/fragment_sizes.h"
#include "base/path_parts.h"

namespace vtq::model {

// Texts kept as data in the program file instead of being folded into the
// code that copies them, so that they can be found there as written.
extern const wchar_t kEnterValue[] = L"Please enter a value";
extern const wchar_t kEnterValueTitle[] = L"Enter a value";
extern const wchar_t kNumericValue[] = L"Please enter a numeric value";
extern const wchar_t kNumericValueTitle[] = L"Invalid value";
extern const wchar_t kRangeTitle[] = L"Not within valid range";

namespace {

std::wstring RangeMessage() {
  return L"Please use a fragment size between " + std::to_wstring(kMinFragmentBytes / 1024) +
         L"kb and " + std::to_wstring(kMaxFragmentBytes / 1024) + L"kb";
}

float FieldValue(const TextField& field) {
  return static_cast<float>(NumericValue(field.text));
}

}  // namespace

std::optional<int64_t> SizeInForce(const MainWindowState& s) {
  if (s.sizeMode == SizeMode::kPreset) {
    if (const int64_t preset = PresetBytes(s.cmbPreset.position); preset > 0)
      return preset;
    return std::nullopt;
  }
  if (s.sizeMode == SizeMode::kCustom)
    return SizeToBytes(FieldValue(s.customSize), s.custSizeUnits.position);
  return std::nullopt;
}

bool CountsDown(int unit) {
  return unit == kUnitBytesSmaller || unit == kUnitKbSmaller || unit == kUnitMbSmaller;
}

int64_t FirstFragmentBytes(const MainWindowState& s, int64_t freeSpace) {
  const int64_t from = s.sizeMode == SizeMode::kAutofill ? freeSpace : SizeInForce(s).value_or(0);
  return SizeToBytes(FieldValue(s.firstOverrideValue), s.fOverrideUnits.position, from);
}

std::optional<Control> MainWindowModel::TakeFocus() {
  return std::exchange(focus_, std::nullopt);
}

void MainWindowModel::ApplyLanguageChange(int language) {
  if (auto captions = CaptionsFor(language))
    state_.captions = std::move(*captions);
}

CheckBox& MainWindowModel::Box(Control box) {
  switch (box) {
    case Control::kUseCompression:
      return state_.useCompression;
    case Control::kSaveBAT:
      return state_.saveBat;
    case Control::kUseEnc:
      return state_.useEnc;
    case Control::kFirstOverride:
      return state_.firstOverride;
    case Control::kUseRecovery:
      return state_.useRecovery;
    default:
      return state_.regenFragBool;
  }
}

void MainWindowModel::CheckBoxClicked(Control box, bool checked) {
  ClearOutcomes();
  SetCheck(box, checked, true);
}

// A click always runs the box's rule; code runs it only on a change.
void MainWindowModel::SetCheck(Control box, bool checked, bool always) {
  CheckBox& target = Box(box);
  const bool changed = target.checked != checked;
  target.checked = checked;
  if (changed || always)
    RunCheckRule(box);
}

bool MainWindowModel::SplitDestinationRemovable() {
  return !state_.splitDestination.empty() && paths_.DiskRemovable(state_.splitDestination);
}

void MainWindowModel::RunCheckRule(Control box) {
  if (box == Control::kSaveBAT) {
    const bool ticked = state_.saveBat.checked;
    if (ticked)
      SetCheck(Control::kUseEnc, false, false);
    if (ticked && SplitDestinationRemovable())
      SetCheck(Control::kFirstOverride, false, false);
    if (!ticked && state_.sizeMode != SizeMode::kAutofill)
      state_.firstOverride.enabled = true;
    state_.cmdCabOnlyEnabled = !state_.useEnc.checked && !state_.saveBat.checked;
  } else if (box == Control::kUseEnc) {
    const bool ticked = state_.useEnc.checked;
    state_.passphrase.enabled = ticked;
    if (ticked) {
      SetCheck(Control::kSaveBAT, false, false);
      focus_ = Control::kPassphrase;
    }
    state_.cmdCabOnlyEnabled = !state_.useEnc.checked && !state_.saveBat.checked;
  } else if (box == Control::kFirstOverride) {
    const bool ticked = state_.firstOverride.checked;
    if (ticked && SplitDestinationRemovable())
      SetCheck(Control::kSaveBAT, false, false);
    state_.firstOverrideValue.enabled = ticked;
    state_.fOverrideUnits.enabled = ticked;
    if (ticked)
      focus_ = Control::kFirstOverrideValue;
  } else if (box == Control::kUseRecovery) {
    state_.recoveryPercent.enabled = state_.useRecovery.checked && state_.useRecovery.enabled;
    if (state_.recoveryPercent.enabled)
      focus_ = Control::kRecoveryPercent;
  } else if (box == Control::kRegenFragBool) {
    if (state_.regenFragBool.checked)
      focus_ = Control::kRegenFragVal;
  }
}

void MainWindowModel::ChooseSizeMode(SizeMode mode) {
  ClearOutcomes();
  SetSizeMode(mode, true);
}

void MainWindowModel::SetSizeMode(SizeMode mode, bool always) {
  const bool changed = state_.sizeMode != mode;
  state_.sizeMode = mode;
  if (changed || always)
    RunSizeModeRule(mode);
}

void MainWindowModel::RunSizeModeRule(SizeMode mode) {
  if (mode == SizeMode::kPreset || mode == SizeMode::kCustom) {
    const bool custom = mode == SizeMode::kCustom;
    state_.customSize.enabled = custom;
    state_.custSizeUnits.enabled = custom;
    if (custom)
      focus_ = Control::kCustomSize;
    state_.regenFragBool.enabled = true;
    state_.firstOverride.enabled = true;
    state_.saveBat.enabled = true;
  }
}

void MainWindowModel::TextChanged(Control field, std::wstring text) {
  ClearOutcomes();
  switch (field) {
    case Control::kCustomSize:
      state_.customSize.text = std::move(text);
      break;
    case Control::kFirstOverrideValue:
      state_.firstOverrideValue.text = std::move(text);
      break;
    case Control::kPassphrase:
      state_.passphrase.text = std::move(text);
      break;
    case Control::kRecoveryPercent:
      state_.recoveryPercent.text = std::move(text);
      break;
    case Control::kRegenFragVal: {
      state_.regenFragVal.text = std::move(text);
      const std::wstring_view trimmed = TrimBlanks(state_.regenFragVal.text);
      if (trimmed.empty() || !IsNumeric(trimmed))
        SetCheck(Control::kRegenFragBool, false, false);
      break;
    }
    default:
      break;
  }
}

void MainWindowModel::KeyTyped(Control field) {
  if (field != Control::kRegenFragVal || !state_.regenFragBool.enabled)
    return;
  // The key is on its way into the field, which has the focus: moving it
  // there again would select the text, and the next key would replace it.
  const std::optional<Control> focus = focus_;
  SetCheck(Control::kRegenFragBool, true, false);
  focus_ = focus;
}

std::optional<Prompt> MainWindowModel::FieldLeft(Control field) {
  switch (field) {
    case Control::kCustomSize:
    case Control::kFirstOverrideValue:
      return CheckSizeField(field);
    case Control::kRegenFragVal:
      TextChanged(field, state_.regenFragVal.text);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<Prompt> MainWindowModel::CheckSizeField(Control field) {
  TextField& target = field == Control::kCustomSize ? state_.customSize : state_.firstOverrideValue;
  if (TrimBlanks(target.text).empty()) {
    focus_ = field;
    return FieldError(std::wstring(kEnterValue), std::wstring(kEnterValueTitle), field);
  }
  if (!IsNumeric(target.text)) {
    focus_ = field;
    return FieldError(std::wstring(kNumericValue), std::wstring(kNumericValueTitle), field);
  }
  // The sizes are worked out from the value with its decimals ("1.44" mb),
  // so the field keeps them rather than showing less than is used.
  target.text = std::wstring(TrimBlanks(target.text));
  if (field == Control::kCustomSize)
    return CheckCustomRange();
  return std::nullopt;
}

std::optional<Prompt> MainWindowModel::CheckCustomRange() {
  if (WithinFragmentRange(CustomBytes()))
    return std::nullopt;
  focus_ = Control::kCustomSize;
  return FieldError(RangeMessage(), std::wstring(kRangeTitle), Control::kCustomSize);
}

std::optional<Prompt> MainWindowModel::ListSelected(Control list, int position) {
  ClearOutcomes();
  switch (list) {
    case Control::kCustSizeUnits:
      state_.custSizeUnits.position = position;
      return CheckCustomRange();
    case Control::kFOverrideUnits:
      state_.fOverrideUnits.position = position;
      return std::nullopt;
    case Control::kCmbPreset:
      state_.cmbPreset.position = position;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

int64_t MainWindowModel::CustomBytes() const {
  return SizeToBytes(FieldValue(state_.customSize), state_.custSizeUnits.position);
}

int64_t MainWindowModel::FirstOverrideBytes() const {
  return FirstFragmentBytes(state_);
}

void MainWindowModel::SetOutcome(Control bar, std::wstring text) {
  (bar == Control::kProgressBar1 ? state_.splitOutcome : state_.assembleOutcome) = std::move(text);
}

void MainWindowModel::ClearOutcomes() {
  state_.splitOutcome.clear();
  state_.assembleOutcome.clear();
}

std::wstring MainWindowModel::StartFolderFor(Control button) const {
  const std::wstring* own = nullptr;
  if (button == Control::kCmdSelFolderToSplit && state_.folderIndicator == kLampGreen)
    own = &state_.folderToSplit;
  else if (button == Control::kCommand3)
    own = &state_.splitDestination;
  else if (button == Control::kCommand6)
    own = &state_.assembleDestination;
  return own != nullptr && !own->empty() ? *own : state_.lastFolder;
}

std::wstring MainWindowModel::LampTip(Control lamp) const {
  const MainWindowState& s = state_;
  const bool file = s.fileIndicator == kLampGreen;
  const bool folder = s.folderIndicator == kLampGreen;
  switch (lamp) {
    case Control::kLight1:
      if (folder)
        return L"Folder to split: " + s.folderToSplit;
      if (file)
        return L"File to split: " + s.fileToSplit;
      return L"No file or folder to split chosen yet";
    case Control::kFileIndicator:
      return file ? L"File to split: " + s.fileToSplit : L"No file to split chosen";
    case Control::kFolderIndicator:
      return folder ? L"Folder to split: " + s.folderToSplit : L"No folder to split chosen";
    case Control::kLight2:
      return s.light2 == kLampGreen ? L"Fragments go to: " + s.splitDestination
                                    : L"No folder for the fragments chosen yet";
    case Control::kLight3:
      return s.light3 == kLampGreen && !s.filesToAssemble.empty()
                 ? L"To assemble: " + s.filesToAssemble.front()
                 : L"No fragment or cabinet to assemble chosen yet";
    case Control::kLight4:
      return s.light4 == kLampGreen ? L"Assembled file goes to: " + s.assembleDestination
                                    : L"No folder for the assembled file chosen yet";
    default:
      return {};
  }
}

void MainWindowModel::RestoreDefaults(settings::SettingsStore& store) {
  auto ticked = [&](std::wstring_view name) { return store.ReadProgramNumber(name) == 1; };
  SetCheck(Control::kUseCompression, ticked(L"UseCompression"), false);
  SetCheck(Control::kSaveBAT, ticked(L"UseBATGen"), false);
  SetCheck(Control::kUseEnc, ticked(L"UseEncryption"), false);
  if (state_.useEnc.checked)
    state_.passphrase.text = store.ReadProgram(L"DefaultPassphrase");
  state_.customSize.text = std::wstring(TrimBlanks(store.ReadProgram(L"CustomSize")));
  state_.custSizeUnits.position = store.ReadProgramNumber(L"CustomSizeUnits");
  SetCheck(Control::kFirstOverride, ticked(L"MultiSizeEnabled"), false);
  state_.firstOverrideValue.text = std::wstring(TrimBlanks(store.ReadProgram(L"MultiSizeValue")));
  state_.fOverrideUnits.position = store.ReadProgramNumber(L"MultiSizeUnits");
  state_.cmbPreset.position = store.ReadProgramNumber(L"FragSizePreset");
  SetCheck(Control::kUseRecovery, ticked(L"UseRecovery"), false);
  state_.recoveryPercent.text = std::wstring(TrimBlanks(store.ReadProgram(L"RecoveryPercent")));
  const std::wstring mode(TrimBlanks(store.ReadProgram(L"FragSizeMode")));
  if (mode == L"Preset")
    SetSizeMode(SizeMode::kPreset, false);
  else if (mode == L"Autofill")
    SetSizeMode(SizeMode::kAutofill, false);
  else if (mode == L"Custom")
    SetSizeMode(SizeMode::kCustom, false);
}

void MainWindowModel::ChooseSplitFile(std::wstring path) {
  state_.fileToSplit = path;
  state_.filesToSplit.assign(1, std::move(path));
  state_.light1 = kLampGreen;
  state_.fileIndicator = kLampGreen;
  state_.folderIndicator = kLampDarkRed;
}

// `path` comes without its trailing "\".
void MainWindowModel::ChooseSplitFolder(std::wstring path) {
  state_.folderToSplit = std::move(path);
  state_.light1 = kLampGreen;
  state_.folderIndicator = kLampGreen;
  state_.fileIndicator = kLampDarkRed;
}

void MainWindowModel::FileToSplitChosen(std::wstring path) {
  ClearOutcomes();
  state_.lastFolder = base::FolderPart(path);
  const bool cabinet = LastThreeLowered(path) == L"cab";
  state_.fileToSplit = std::move(path);
  state_.light1 = kLampGreen;
  state_.fileIndicator = kLampGreen;
  state_.folderIndicator = kLampDarkRed;
  if (cabinet)
    SetCheck(Control::kUseCompression, false, false);
  state_.useCompression.enabled = !cabinet;
}

void MainWindowModel::FolderToSplitChosen(std::wstring path) {
  ClearOutcomes();
  StripTrailingBackslash(path);
  state_.folderToSplit = path;
  if (path.empty())
    return;
  state_.lastFolder = path;
  ChooseSplitFolder(std::move(path));
  state_.useCompression.enabled = true;
}

void MainWindowModel::SplitDestinationChosen(std::wstring folder) {
  if (folder.empty())
    return;
  if (folder.back() != L'\\')
    folder += L'\\';
  ClearOutcomes();
  state_.lastFolder = folder;
  state_.splitDestination = std::move(folder);
  if (paths_.DiskRemovable(std::wstring_view(state_.splitDestination).substr(0, 2))) {
    if (state_.saveBat.checked)
      SetCheck(Control::kFirstOverride, false, false);
    state_.optAutofillEnabled = true;
  } else {
    if (state_.sizeMode == SizeMode::kAutofill)
      SetSizeMode(SizeMode::kPreset, false);
    state_.optAutofillEnabled = false;
  }
  state_.light2 = kLampGreen;
  OfferRecovery();
}

// A series written across removable disks leaves the folder disk by disk,
// and recovery files need every fragment of it in one place.
void MainWindowModel::OfferRecovery() {
  const bool removable = SplitDestinationRemovable();
  state_.useRecovery.enabled = !removable;
  state_.recoveryNote = removable ? L"Not on removable disks, where the series spans disks" : L"";
  // The percentage field is not where the focus goes on choosing a folder.
  const std::optional<Control> focus = focus_;
  RunCheckRule(Control::kUseRecovery);
  focus_ = focus;
}

void MainWindowModel::FragmentsChosen(std::wstring path) {
  ClearOutcomes();
  state_.lastFolder = base::FolderPart(path);
  state_.filesToAssemble.assign(1, std::move(path));
  state_.light3 = kLampGreen;
}

void MainWindowModel::AssembleDestinationChosen(std::wstring folder) {
  if (folder.empty())
    return;
  if (folder.back() != L'\\')
    folder += L'\\';
  ClearOutcomes();
  state_.lastFolder = folder;
  state_.assembleDestination = std::move(folder);
  state_.light4 = kLampGreen;
}

void MainWindowModel::SplitStart(int32_t pbMax) {
  ClearOutcomes();
  state_.progressBar1 = {0, pbMax};
}

void MainWindowModel::SplitInterval(int32_t pbCurrent) {
  state_.progressBar1.value = pbCurrent;
}

void MainWindowModel::AssembleStart(int32_t pbMax) {
  ClearOutcomes();
  state_.progressBar2 = {0, pbMax};
}

void MainWindowModel::AssembleInterval(int32_t pbCurrent) {
  state_.progressBar2.value = pbCurrent;
}

void MainWindowModel::ResetProgress(Control bar) {
  (bar == Control::kProgressBar1 ? state_.progressBar1 : state_.progressBar2).value = 0;
}

}  // namespace vtq::model
