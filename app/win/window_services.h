#pragma once
// What the main window's model and commands ask of Windows, besides the
// window itself: whether paths exist, the event sounds, and the prompts of
// the commands (the passphrase dialog, the three-button question, the
// sounds of a run).

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/model/event_sounds.h"
#include "app/model/main_window_model.h"
#include "app/operations/prompts.h"
#include "app/settings/settings_store.h"
#include "engine/globals.h"

namespace vtq::app {

// The file system through the wide calls; removable disks as the engine
// tells them.
class WindowPaths final : public model::PathQueries {
 public:
  explicit WindowPaths(Globals& globals) : globals_(globals) {}
  bool Exists(std::wstring_view path) override;
  bool IsFolder(std::wstring_view path) override;
  bool DiskRemovable(std::wstring_view folder) override;

 private:
  Globals& globals_;
};

// PlaySoundW with the flags 1 (asynchronous) or 0 (to its end), nothing
// else.
class SystemSoundPlayer final : public model::SoundPlayer {
 public:
  void Play(std::wstring_view file, bool synchronous) override;
};

class WindowPrompts final : public Prompts {
 public:
  WindowPrompts(HINSTANCE instance, settings::SettingsStore& store, MessageBoxes& boxes,
                model::SoundPlayer& player, std::wstring programFolder)
      : instance_(instance),
        store_(store),
        boxes_(boxes),
        player_(player),
        programFolder_(std::move(programFolder)) {}
  // The window the passphrase dialog belongs to.
  void SetOwner(HWND owner) { owner_ = owner; }

  bool CanAskPassphrase() override { return true; }
  std::optional<std::string> AskPassphrase(std::string_view caption,
                                           std::string_view prompt) override;
  Answer AskYesNoCancel(std::string_view text, std::string_view title) override;
  void PlaySound(std::string_view eventName) override;

 private:
  HINSTANCE instance_;
  settings::SettingsStore& store_;
  MessageBoxes& boxes_;
  model::SoundPlayer& player_;
  std::wstring programFolder_;
  HWND owner_ = nullptr;
};

}  // namespace vtq::app
