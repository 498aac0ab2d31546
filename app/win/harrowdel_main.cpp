// Harrowdel: the windowed program. Sets up OLE and the common controls,
// creates the main window from its template and runs the message loop, in
// which the dialog manager gives Tab, Enter, Esc and mnemonics their usual
// meaning.
#include <windows.h>
#include <commctrl.h>

#include "app/settings/regging_values.h"
#include "app/settings/settings_store.h"
#include "app/win/main_window.h"
#include "base/win/module_path.h"
#include "base/win/restore_guards.h"
#include "engine/platform/win32/message_boxes_win32.h"
#include "wingui/shell_services.h"

namespace {

int RunMessageLoop(HWND mainWindow) {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1)
      return 1;
    if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  vtq::base::win::ScopedOle ole;
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  vtq::settings::ReggingValues values;
  vtq::settings::SettingsStore store(values);
  vtq::Win32MessageBoxes boxes;
  vtq::wingui::SystemShellServices shell;
  const int language = store.ReadProgramNumber(L"Language");

  vtq::app::MainWindow window({instance, store, boxes, shell,
                               vtq::base::win::FolderOf(vtq::base::win::ModulePath(nullptr))},
                              language);
  if (!window.Create())
    return 1;
  boxes.SetOwner(window.Hwnd());
  ShowWindow(window.Hwnd(), show);
  UpdateWindow(window.Hwnd());
  return RunMessageLoop(window.Hwnd());
}
