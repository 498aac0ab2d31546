#pragma once
// The Customize dialog without its window: what it shows on opening, the
// theme description, and what Save and the defaults button write to the
// settings store. Cancel writes nothing (the state is simply dropped).

#include <string>
#include <string_view>
#include <vector>

#include "app/model/main_window_defaults.h"
#include "app/settings/settings_store.h"
#include "engine/platform/platform.h"

namespace vtq::model {

class CustomizeDialogState {
 public:
  // Reads the stored theme and sounds; `currentLanguage` is the program's
  // current language (out of 0..2 selects English US).
  CustomizeDialogState(settings::SettingsStore& store, MessageBoxes& boxes, int currentLanguage);

  static const std::vector<std::wstring>& ThemeNames();
  static const std::vector<std::wstring>& LanguageNames();
  // The description of a theme 0..4, empty for any other number.
  static std::wstring ThemeDescription(int theme);

  // "Colour theme:" for English UK, else "Color theme:".
  std::wstring ThemeLabel() const;
  int Theme() const { return theme_; }
  int Language() const { return language_; }
  bool SoundsEnabled() const { return sounds_; }
  // The selected theme's description, with the joke-language sentence when
  // that language is selected.
  std::wstring Description() const;

  void SelectTheme(int position) { theme_ = position; }
  void SelectLanguage(int position) { language_ = position; }
  void SetSoundsEnabled(bool enabled) { sounds_ = enabled; }

  // Writes "Theme", "Language" and "UseSounds"; returns the new current
  // language (a selection out of 0..2 gives 0). The caller then applies the
  // theme and the captions to the main window and closes the dialog.
  int Save();

  // The defaults button: asks, then stores `window`'s settings as the
  // defaults of the next start and says so. The dialog stays open.
  void StoreDefaults(const MainWindowDefaults& window);

 private:
  settings::SettingsStore& store_;
  MessageBoxes& boxes_;
  int currentLanguage_;
  int theme_;
  int language_;
  bool sounds_;
};

}  // namespace vtq::model
