#include "app/model/main_window_load.h"

#include "app/model/command_line.h"

namespace vtq::model {

void Present(MainWindowModel& model, MainWindowView& view) {
  view.Render(model.State());
  if (const auto focus = model.TakeFocus())
    view.MoveFocus(*focus);
}

int AskAndAct(MainWindowModel& model, MainWindowView& view, const Prompt& prompt) {
  const int answer = view.Ask(prompt);
  if (prompt.focus)
    view.MoveFocus(*prompt.focus);
  // Anything but Yes (No, or a box closed another way) declines.
  if (answer == mb::kIdYes && prompt.onYes != QuickCommand::kNone) {
    view.RunQuickCommand(prompt.onYes);
    Present(model, view);
  }
  return answer;
}

bool LoadMainWindow(MainWindowModel& model, MainWindowView& view, settings::SettingsStore& store,
                    SoundPlayer& player, const LoadInputs& inputs) {
  if (const auto sorry = MakeCabWithoutPath(inputs.commandLine)) {
    view.Ask(*sorry);
    view.EndProgram();
    return false;
  }
  view.ApplyTheme();
  model.ApplyLanguageChange(inputs.language);
  view.Render(model.State());
  PlayEventSound(store, player, kSoundProgLoad, inputs.programFolder);
  view.FillLists();
  view.Show();
  model.RestoreDefaults(store);
  Present(model, view);
  if (const auto question = model.InterpretCommandLine(inputs.commandLine)) {
    Present(model, view);
    AskAndAct(model, view, *question);
  }
  return true;
}

void UnloadMainWindow(settings::SettingsStore& store, SoundPlayer& player,
                      std::wstring_view programFolder) {
  PlayEventSound(store, player, kSoundProgExit, programFolder);
}

}  // namespace vtq::model
