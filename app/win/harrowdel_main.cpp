// Harrowdel: the windowed program. Sets up OLE and the common controls,
// runs the start-up bookkeeping, creates the main window over its model,
// loads it (which may end the program, or run a quick action the command
// line offers) and runs the message loop, in which the dialog manager gives
// Tab, Enter, Esc and mnemonics their usual meaning.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/model/command_line.h"
#include "app/model/start_up.h"
#include "app/operations/error_dialog.h"
#include "app/operations/runtime_error_box.h"
#include "app/settings/regging_values.h"
#include "app/settings/settings_store.h"
#include "app/win/main_window.h"
#include "app/win/main_window_controller.h"
#include "app/win/updating_window.h"
#include "app/win/window_failure_report.h"
#include "app/win/window_services.h"
#include "base/path_parts.h"
#include "base/win/module_path.h"
#include "base/win/restore_guards.h"
#include "base/win/window_barrier.h"
#include "engine/current_failure.h"
#include "engine/globals.h"
#include "engine/platform/win32/message_boxes_win32.h"
#include "version.h"
#include "wingui/shell_services.h"
#include "wingui/wait_cursor.h"

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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) try {
  vtq::base::win::ScopedOle ole;
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  vtq::settings::ReggingValues values;
  vtq::settings::SettingsStore store(values);
  vtq::Win32MessageBoxes boxes;
  vtq::Win32MessageLoop loop;
  vtq::ErrorDialogAdvisor advisor(boxes);
  vtq::settings::StoreSettingsSource engineSettings(store);
  vtq::Platform platform{boxes,    loop,           vtq::SystemDrives(), vtq::SystemFolders(),
                         &advisor, &engineSettings};
  vtq::Globals globals(platform);
  vtq::wingui::SystemShellServices shell;
  vtq::app::SystemSoundPlayer player;
  const std::wstring programFolder = vtq::base::FolderPart(vtq::base::win::ModulePath(nullptr));

  // The small window and the hourglass show while the sound events are
  // registered, on the first start.
  vtq::app::UpdatingWindow updating(instance);
  std::optional<vtq::wingui::WaitCursor> hourglass;
  const vtq::model::RegistrationHooks registering{[&] {
                                                    hourglass.emplace();
                                                    updating.Show(nullptr);
                                                  },
                                                  [&] {
                                                    updating.Close();
                                                    hourglass.reset();
                                                  }};
  const int language = vtq::model::StartUp(
      store, {VTQ_VERSION_MAJOR, VTQ_VERSION_MINOR, VTQ_VERSION_PATCH}, registering);

  vtq::app::WindowPaths paths(globals);
  vtq::app::WindowPrompts prompts(instance, store, boxes, player, programFolder);
  vtq::app::MainWindowController controller(
      {instance, store, globals, shell, player, paths, prompts, programFolder});
  const vtq::base::win::ScopedWindowFailureReport failureReport(
      [&](HWND, std::exception_ptr failure) {
        vtq::app::ShowWindowFailure(std::move(failure), advisor, [&] { controller.EndProgram(); });
      });
  vtq::app::MainWindow window({instance, store, boxes, shell, programFolder}, language,
                              &controller);
  controller.Attach(window);
  if (!window.Create())
    return 1;
  boxes.SetOwner(window.Hwnd());
  prompts.SetOwner(window.Hwnd());
  if (!controller.Load(vtq::model::ProgramArguments(GetCommandLineW())))
    return 0;
  return RunMessageLoop(window.Hwnd());
} catch (...) {
  // What escaped the start-up or the end, after every window has gone.
  vtq::Win32MessageBoxes boxes;
  vtq::ShowRuntimeErrorBox(vtq::CurrentFailure(), boxes);
  return 1;
}
