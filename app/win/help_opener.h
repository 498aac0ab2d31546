#pragma once
// The help button: the WinHelp file where the system can show it, else the
// user guide in the default viewer, else a message (app/model/help_route.h).

#include <windows.h>

#include <string_view>

#include "app/model/help_route.h"
#include "engine/platform/platform.h"
#include "wingui/shell_services.h"

namespace vtq::app {

// `programFolder`: the folder of the running program. Returns the route
// taken (kNone also when the chosen viewer refused to open).
model::HelpRoute OpenHelp(HWND owner, wingui::ShellServices& shell, MessageBoxes& boxes,
                          std::wstring_view programFolder);

}  // namespace vtq::app
