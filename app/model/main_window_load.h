#pragma once
// The main window's load and unload, in their fixed order, over what the
// window itself does (MainWindowView). The load ends the program before
// any window appears when the command line is "/makecab" alone; otherwise
// it colours the window, sets the captions, plays the start sound, fills
// the lists, shows the window, restores the stored defaults and acts on the
// command line. A quick action the user accepts runs to its end inside the
// load, so the load returns only when it is over.

#include <string_view>

#include "app/model/event_sounds.h"
#include "app/model/main_window_model.h"
#include "app/model/prompt.h"
#include "app/settings/settings_store.h"

namespace vtq::model {

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  // Colours the window and its controls by the stored theme.
  virtual void ApplyTheme() = 0;
  // Shows the state: captions, texts, checks, enabling, lamps, bars.
  virtual void Render(const MainWindowState& state) = 0;
  virtual void MoveFocus(Control control) = 0;
  // The unit lists and the preset list get their entries.
  virtual void FillLists() = 0;
  virtual void Show() = 0;
  // A message box; the answer as an mb::kId value.
  virtual int Ask(const Prompt& prompt) = 0;
  // Runs a command as its button would, to its end.
  virtual void RunQuickCommand(QuickCommand command) = 0;
  // Ends the program without unloading the window (no exit sound).
  virtual void EndProgram() = 0;
};

// What the load reads besides the settings.
struct LoadInputs {
  std::wstring_view commandLine;
  int language = kLanguageEnglishUs;  // as the start-up read it
  std::wstring_view programFolder;    // where the default sounds lie
};

// Renders the state and moves the focus where the last call sent it.
void Present(MainWindowModel& model, MainWindowView& view);

// Shows a prompt, then moves the focus it names; Yes to a quick question
// runs its command. Returns the answer.
int AskAndAct(MainWindowModel& model, MainWindowView& view, const Prompt& prompt);

// The load handler. False when the program was ended instead of shown.
bool LoadMainWindow(MainWindowModel& model, MainWindowView& view, settings::SettingsStore& store,
                    SoundPlayer& player, const LoadInputs& inputs);

// The unload handler: the exit sound, played to its end before the window
// goes. Nothing is written to the settings.
void UnloadMainWindow(settings::SettingsStore& store, SoundPlayer& player,
                      std::wstring_view programFolder);

}  // namespace vtq::model
