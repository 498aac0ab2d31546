#pragma once
// The main window (Form1) as a view: its template, lamps, lists, progress
// bars, drop target and the commands that belong to the window itself
// (Customize, help, Exit). The window's own rules (lamps, size modes,
// enabling, validation, captions, drops, the operations) come through a
// MainWindowBinding, which the main window's model provides.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/model/main_window_defaults.h"
#include "app/settings/settings_store.h"
#include "base/win/handles.h"
#include "engine/platform/platform.h"
#include "wingui/dialog.h"
#include "wingui/file_drop_target.h"
#include "wingui/shell_services.h"

namespace vtq::app {

class MainWindow;

// Where the main window's model plugs in. Every member has a harmless
// default, so that the window runs without one.
class MainWindowBinding {
 public:
  virtual ~MainWindowBinding() = default;
  // After the controls are created and filled, before the window shows.
  virtual void Loaded(MainWindow& window) { (void)window; }
  // A control's notification; true when handled.
  virtual bool Command(MainWindow& window, int id, int code) {
    (void)window, (void)id, (void)code;
    return false;
  }
  // Files dragged over (dropping false) or dropped: the drop effect.
  virtual DWORD FilesOffered(MainWindow& window, const std::vector<std::wstring>& paths,
                             bool dropping) {
    (void)window, (void)paths, (void)dropping;
    return DROPEFFECT_NONE;
  }
  // After the Customize dialog was saved, with the new current language;
  // the window has already applied the theme.
  virtual void CustomizeSaved(MainWindow& window, int language) { (void)window, (void)language; }
  // Exit or the close box: the window goes once this returns.
  virtual void Unloading(MainWindow& window) { (void)window; }
};

struct MainWindowServices {
  HINSTANCE instance = nullptr;
  settings::SettingsStore& store;
  MessageBoxes& boxes;
  wingui::ShellServices& shell;
  std::wstring programFolder;
};

class MainWindow final : public wingui::Dialog {
 public:
  MainWindow(MainWindowServices services, int currentLanguage,
             MainWindowBinding* binding = nullptr);
  ~MainWindow() override;

  // Creates the window from its template (hidden until shown).
  bool Create();

  int CurrentLanguage() const { return language_; }
  void SetCurrentLanguage(int language) { language_ = language; }
  // Colours the window by the stored theme.
  void ApplyStoredTheme();
  // What the Customize dialog's defaults button stores, read off the controls.
  model::MainWindowDefaults ReadDefaults() const;
  // The commands of the window's own buttons, also for tests and bindings.
  void OpenCustomize();
  void OpenHelp();
  // The drop target registered for the window (what OLE calls on a drop).
  IDropTarget* DropTarget() const { return dropTarget_.Get(); }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  void FillLists();
  void Unload();

  MainWindowServices services_;
  int language_;
  MainWindowBinding* binding_;
  base::win::ComRef<IDropTarget> dropTarget_;
  std::unique_ptr<wingui::DropRegistration> dropRegistration_;
};

}  // namespace vtq::app
