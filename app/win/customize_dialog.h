#pragma once
// The Customize dialog (frmOptions) over its state. What the defaults
// button stores of the main window comes from `readMainWindow`, which the
// main window's view fills.

#include <windows.h>

#include <functional>
#include <optional>

#include "app/model/customize_dialog_state.h"
#include "wingui/dialog.h"

namespace vtq::app {

class CustomizeDialog final : public wingui::Dialog {
 public:
  CustomizeDialog(HINSTANCE instance, settings::SettingsStore& store, MessageBoxes& boxes,
                  int currentLanguage, std::function<model::MainWindowDefaults()> readMainWindow);
  // Modal; IDOK after Save, IDCANCEL otherwise.
  INT_PTR Show(HWND owner);
  // The current language after Save; nullopt when the dialog was cancelled.
  std::optional<int> SavedLanguage() const { return savedLanguage_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void ShowDescription();

  HINSTANCE instance_;
  settings::SettingsStore& store_;
  MessageBoxes& boxes_;
  model::CustomizeDialogState state_;
  std::function<model::MainWindowDefaults()> readMainWindow_;
  std::optional<int> savedLanguage_;
};

}  // namespace vtq::app
