#pragma once
// Form1 bound to its model: every control's notification becomes one call
// of the main window's model or one of its commands, and the window is
// drawn again from the model's state afterwards. The controller is also
// the view the load sequence drives, the window the commands disable while
// they run, and where the engine's events arrive.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/main_window_load.h"
#include "app/model/main_window_model.h"
#include "app/operations/component_packer.h"
#include "app/operations/component_unpacker.h"
#include "app/win/main_window.h"
#include "app/win/packing_window.h"
#include "app/win/window_services.h"
#include "app/window_commands/window_commands.h"
#include "app/window_commands/window_events.h"
#include "engine/globals.h"
#include "wingui/focus_watch.h"
#include "wingui/shell_services.h"
#include "wingui/tooltips.h"

namespace vtq::app {

struct ControllerServices {
  HINSTANCE instance = nullptr;
  settings::SettingsStore& store;
  Globals& globals;  // its platform's boxes are the window's
  wingui::ShellServices& shell;
  model::SoundPlayer& player;
  model::PathQueries& paths;
  Prompts& prompts;
  std::wstring programFolder;
};

class MainWindowController final : public MainWindowBinding,
                                   public model::MainWindowView,
                                   public CommandWindow,
                                   public WindowEventSink {
 public:
  explicit MainWindowController(ControllerServices services);
  MainWindowController(const MainWindowController&) = delete;
  MainWindowController& operator=(const MainWindowController&) = delete;

  // The window this controller draws; set before the window is created.
  void Attach(MainWindow& window) { window_ = &window; }
  model::MainWindowModel& Model() { return model_; }
  // The load sequence; false when the program ended without a window.
  bool Load(std::wstring_view commandLine);

  // MainWindowBinding
  void Loaded(MainWindow& window) override;
  bool Command(MainWindow& window, int id, int code) override;
  DWORD FilesOffered(MainWindow& window, const std::vector<std::wstring>& paths,
                     bool dropping) override;
  void CustomizeSaved(MainWindow& window, int language) override;
  void Unloading(MainWindow& window) override;

  // model::MainWindowView
  void ApplyTheme() override;
  void Render(const model::MainWindowState& state) override;
  void MoveFocus(model::Control control) override;
  void FillLists() override {}  // the window fills them when it is created
  void Show() override;
  int Ask(const model::Prompt& prompt) override;
  void RunQuickCommand(model::QuickCommand command) override;
  void EndProgram() override;

  // CommandWindow
  void EnableInput(bool enabled) override;
  void ResetProgress(model::Control bar) override;
  void ShowOutcome(model::Control bar, std::wstring text) override;
  void ShowProgress(model::Control bar, int32_t value, int32_t max) override;

  // WindowEventSink
  void ProgressChanged() override;
  void FormatDrive(unsigned drive, unsigned formatId, unsigned options) override;

  bool Ended() const { return ended_; }
  // frmPrework while a packing step runs, else null.
  HWND PackingWindowHwnd() const { return packingWindow_.Hwnd(); }
  // What the lamp `id` tells when the pointer rests on it.
  std::wstring LampTip(int id) const { return tips_.Text(Item(id)); }

 private:
  HWND Item(int id) const;
  HWND Hwnd() const;
  void Present() { model::Present(model_, *this); }
  void AskAndAct(const std::optional<model::Prompt>& prompt);
  void ChooseFileToSplit();
  void ChooseFolderToSplit();
  void ChooseSplitDestination();
  void ChooseFragments();
  void ChooseAssembleDestination();
  void DrawProgress(const model::MainWindowState& state);
  void SetCaption(int id, const std::wstring& caption);
  void FieldLeft(model::Control field);
  std::wstring StartFolder(model::Control button) const;

  ControllerServices services_;
  model::MainWindowModel model_;
  // vSpt and vAss: one each for the window's whole life.
  LastingSplitter splitter_;
  LastingAssembler assembler_;
  WindowSplitterEvents splitterEvents_;
  WindowAssembleEvents assembleEvents_;
  ComponentPacker packer_;
  ComponentUnpacker unpacker_;
  PackingWindow packingWindow_;
  WindowCommandContext commands_;
  MainWindow* window_ = nullptr;
  bool rendering_ = false;   // notifications of our own drawing are not the user's
  bool validating_ = false;  // a box opened by a field's check moves the focus
  bool ended_ = false;
  bool running_ = false;  // a command runs: drops wait for it
  bool closing_ = false;  // the window goes: no field is checked any more
  // The field the focus is being sent back to after its check failed.
  std::optional<model::Control> returningTo_;
  // Where the focus went when a checked field was left (WM_KILLFOCUS).
  HWND focusGoingTo_ = nullptr;
  std::vector<std::unique_ptr<wingui::FocusLossWatch>> focusWatches_;
  wingui::Tooltips tips_;
};

}  // namespace vtq::app
