#pragma once
// The main window's state and rules, free of any window system.
//
// How a view uses it: the view owns one MainWindowModel and shows what
// State() holds. It forwards every user action to one call (a click on a
// check box or option button after the control changed, a text change, a
// field losing the focus, a list selection, a key typed, a drop, a chosen
// file or folder, an engine event), then redraws from State(). A call that
// returns a Prompt asks the view to show that message box; a quick-action
// Prompt names the command the answer Yes runs. After every call the view
// moves the focus to TakeFocus() when it gives a control. Whether a path
// exists, is a folder or lies on a removable disk the view answers through
// PathQueries. The engine objects stay the view's: State() carries what
// they are told (files, destinations), and the view hands that on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/captions.h"
#include "app/model/controls.h"
#include "app/model/prompt.h"
#include "app/settings/settings_store.h"

namespace vtq::model {

// What the model asks of the file system.
class PathQueries {
 public:
  virtual ~PathQueries() = default;
  virtual bool Exists(std::wstring_view path) = 0;
  virtual bool IsFolder(std::wstring_view path) = 0;
  // Whether the folder lies on a removable disk (the engine's DiskRemovable).
  virtual bool DiskRemovable(std::wstring_view folder) = 0;
};

struct CheckBox {
  bool checked = false;
  bool enabled = true;
};
struct TextField {
  std::wstring text;
  bool enabled = true;
};
struct ListField {
  int position = -1;  // nothing selected
  bool enabled = true;
};
struct ProgressBar {
  int32_t value = 0;
  int32_t max = 100;
};

// The three option buttons of the size frame; kNone when none is selected.
enum class SizeMode { kNone, kPreset, kAutofill, kCustom };

// The state as designed, before the load restores the stored defaults.
struct MainWindowState {
  Captions captions;
  CheckBox useCompression;
  CheckBox saveBat;
  CheckBox useEnc;
  CheckBox firstOverride;
  CheckBox regenFragBool;
  SizeMode sizeMode = SizeMode::kNone;
  bool optAutofillEnabled = true;
  bool cmdCabOnlyEnabled = true;
  TextField customSize{L"", false};
  ListField custSizeUnits{-1, false};
  TextField firstOverrideValue{L"", false};
  ListField fOverrideUnits{-1, false};
  ListField cmbPreset;
  TextField passphrase{L"", false};  // typed into only while UseEnc is ticked
  TextField regenFragVal;
  // Recovery files written with a whole series, where its fragments all
  // stay in one folder: not offered on a removable disk, which says why.
  CheckBox useRecovery;
  TextField recoveryPercent{L"10", false};
  std::wstring recoveryNote;
  int32_t light1 = kLampDarkRed;  // split input chosen
  int32_t light2 = kLampDarkRed;  // split destination chosen
  int32_t fileIndicator = kLampDarkRed;
  int32_t folderIndicator = kLampDarkRed;
  int32_t light3 = kLampDarkRed;  // fragments chosen
  int32_t light4 = kLampDarkRed;  // assemble destination chosen
  ProgressBar progressBar1;       // split
  ProgressBar progressBar2;       // assemble
  std::wstring fileToSplit;
  std::wstring folderToSplit;  // without a trailing "\"
  // What the splitter and the assembler are told.
  std::vector<std::wstring> filesToSplit;
  std::wstring splitDestination;
  std::vector<std::wstring> filesToAssemble;
  std::wstring assembleDestination;
  // What the last command did, shown where its progress bar is until the
  // next action (empty: the bar shows).
  std::wstring splitOutcome;
  std::wstring assembleOutcome;
  // The folder of the last file or folder chosen, where the dialogs open
  // when their own choice is not made yet.
  std::wstring lastFolder;
};

// The fragment size in force: the preset's or the custom size's bytes.
// nullopt in "Fill space", where the splitter keeps its size and the disk's
// free space is measured when the split starts, and for a preset outside
// the list.
std::optional<int64_t> SizeInForce(const MainWindowState& state);
// Whether a unit of the first-fragment list counts down from the size in
// force ("bytes smaller", "kb smaller", "mb smaller").
bool CountsDown(int unit);
// The first fragment's size from its field and unit; the units that count
// down do so from the size in force, or in "Fill space" from `freeSpace`.
int64_t FirstFragmentBytes(const MainWindowState& state, int64_t freeSpace = 0);

class MainWindowModel {
 public:
  explicit MainWindowModel(PathQueries& paths) : paths_(paths) {}

  const MainWindowState& State() const { return state_; }
  // The control the view moves the focus to now, once; nullopt for none.
  std::optional<Control> TakeFocus();

  // Load: puts the stored defaults into the controls in the store's order,
  // running the rules of each check box and option button it changes (the
  // lists' entries are the constants of fragment_sizes.h). A unit list set
  // here runs no range check.
  void RestoreDefaults(settings::SettingsStore& store);
  // Sets the captions of a language; other numbers change nothing.
  void ApplyLanguageChange(int language);

  // An option button of the size frame clicked.
  void ChooseSizeMode(SizeMode mode);
  // A check box clicked: its new state (UseCompression, SaveBAT, UseEnc,
  // FirstOverride, RegenFragBool). BAT generation and encryption exclude
  // each other, and "Make CAB only" is offered only while neither is ticked.
  void CheckBoxClicked(Control box, bool checked);
  // Text of CustomSize, FirstOverrideValue, Passphrase or RegenFragVal changed.
  void TextChanged(Control field, std::wstring text);
  // A key typed into a field (before its text changes).
  void KeyTyped(Control field);
  // A field lost the focus: the message to show, or nothing.
  std::optional<Prompt> FieldLeft(Control field);
  // An entry chosen in CustSizeUnits, FOverrideUnits or cmbPreset.
  std::optional<Prompt> ListSelected(Control list, int position);

  // The selection buttons, after their dialogs: an existing file, a folder
  // (cut at NUL by the view), a destination, the first fragment, the
  // assembled file's destination.
  void FileToSplitChosen(std::wstring path);
  void FolderToSplitChosen(std::wstring path);
  void SplitDestinationChosen(std::wstring folder);
  void FragmentsChosen(std::wstring path);
  void AssembleDestinationChosen(std::wstring folder);

  // The command line at load (after the "/makecab" check): the quick-action
  // question to ask, or nothing.
  std::optional<Prompt> InterpretCommandLine(std::wstring_view commandLine);
  // Dropped paths: the question to ask, or nothing.
  std::optional<Prompt> Drop(const std::vector<std::wstring>& paths);

  void SplitStart(int32_t pbMax);
  void SplitInterval(int32_t pbCurrent);
  void AssembleStart(int32_t pbMax);
  void AssembleInterval(int32_t pbCurrent);
  // The operations put the bars back to 0 when they finish.
  void ResetProgress(Control bar);

  // The custom size in bytes, whatever the mode.
  int64_t CustomBytes() const;
  // The first fragment's size in bytes from its field and unit.
  int64_t FirstOverrideBytes() const;

  // A finished command says what it did where the progress bar `bar` is.
  void SetOutcome(Control bar, std::wstring text);
  // The next action takes the outcomes away again.
  void ClearOutcomes();
  // The folder a selection button's dialog opens at: its own current choice
  // (the folder to split, a destination), else the last folder used.
  std::wstring StartFolderFor(Control button) const;
  // The tooltip of a lamp: the path it stands for, or that none is chosen.
  std::wstring LampTip(Control lamp) const;

 private:
  void SetCheck(Control box, bool checked, bool always);
  void SetSizeMode(SizeMode mode, bool always);
  void RunCheckRule(Control box);
  bool SplitDestinationRemovable();
  void RunSizeModeRule(SizeMode mode);
  std::optional<Prompt> CheckSizeField(Control field);
  std::optional<Prompt> CheckCustomRange();
  CheckBox& Box(Control box);
  void ChooseSplitFile(std::wstring path);
  void ChooseSplitFolder(std::wstring path);
  void OfferRecovery();

  PathQueries& paths_;
  MainWindowState state_;
  std::optional<Control> focus_;
};

// Drag over the window: copy for exactly one file, otherwise none.
enum class DropEffect { kNone, kCopy };
DropEffect DragOverEffect(const std::vector<std::wstring>& paths);

}  // namespace vtq::model
