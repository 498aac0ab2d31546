#pragma once
// The main window's commands, one per button: "Split now!", "Assemble
// now!" and "Make CAB only". Each reads the window's state, checks it with
// the window's own messages, builds the request of the shared split or
// assemble command and runs it; the quick actions of the command line and
// of a drop run the same entry points.

#include <functional>
#include <optional>
#include <string>

#include "app/model/main_window_model.h"
#include "app/model/shell_paths.h"
#include "app/operations/assemble_operation.h"
#include "app/operations/cabinet_packing.h"
#include "app/operations/cabinet_unpacking.h"
#include "app/operations/prompts.h"
#include "app/operations/split_operation.h"
#include "app/window_commands/fragment_to_regenerate.h"
#include "engine/globals.h"

namespace vtq {

// What a command does to the window around its run.
class CommandWindow {
 public:
  virtual ~CommandWindow() = default;
  // The window takes no input while a command runs.
  virtual void EnableInput(bool enabled) = 0;
  // A finished run puts its progress bar back to 0.
  virtual void ResetProgress(model::Control bar) = 0;
  // The error dialog's answer that ends the program.
  virtual void EndProgram() = 0;
  // A finished command says what it did where its progress bar is.
  virtual void ShowOutcome(model::Control bar, std::wstring text) = 0;
  // Work of the command's own (recovery files written, a repair) shown in
  // the bar: `value` of `max`.
  virtual void ShowProgress(model::Control bar, int32_t value, int32_t max) = 0;
};

// Everything a command reaches besides the window's state. The platform of
// `globals` shows the commands' messages, as it shows the engine's.
struct WindowCommandContext {
  Globals& globals;
  // The window's one splitter and one assembler, kept for its whole life.
  LastingSplitter& splitter;
  LastingAssembler& assembler;
  model::PathQueries& paths;
  Prompts& prompts;
  CommandWindow& window;
  SplitterEvents& splitterEvents;
  AssembleWatcher& assembleWatcher;
  CabinetPacker& packer;
  PackingView& packingView;
  CabinetUnpacker& unpacker;
  // Where a split packs its input (TemporaryCabinetFolder), asked at
  // each split; ends with a separator.
  std::function<std::string()> splitCabinetFolder;
};

// `state` is the window's own, read as it stands while the command runs:
// the split report shows the bar where an error stopped it.
void Split(const model::MainWindowState& state, WindowCommandContext& context);
void Assemble(const model::MainWindowState& state, WindowCommandContext& context);
// "Verify": checks the series of the chosen first fragment and says in one
// box what is sound, missing or damaged, and what can be rebuilt.
void Verify(const model::MainWindowState& state, WindowCommandContext& context);
// Packs the folder to split into a cabinet named after it in the split
// destination ("Make CAB only"); the cabinet stays there.
void MakeCab(const model::MainWindowState& state, WindowCommandContext& context);

// The cabinet "Make CAB only" writes: the split destination (with its
// trailing separator), the folder's last component and ".cab".
std::wstring MadeCabinetName(const model::MainWindowState& state);

// The passphrase dialog in one of its two modes; what was typed, in the
// ANSI code page, or nullopt when nothing was.
std::optional<std::string> AskPassphrase(Prompts& prompts, model::PassphraseMode mode);

// The request "Split now!" makes of the state: the source, the destination,
// the size of the chosen mode, the first fragment's size, raw fragments
// with a batch file or the own format with check digits, the passphrase
// and the fragment to regenerate (`regenerate`, already checked). Fill
// space leaves the splitter's own size, and a first fragment that counts
// down from the free space to the run, which measures it.
void FillSplitRequest(const model::MainWindowState& state, int32_t regenerate,
                      SplitRequest& request);

// With BAT generation and compression together, names must fit 8.3: the
// message for a file or folder name that does not, or nullopt.
std::optional<std::string> LongNameProblem(const model::MainWindowState& state);

}  // namespace vtq
