#include "app/win/updating_window.h"

#include "app/win/resource_ids.h"

namespace vtq::app {

bool UpdatingWindow::Show(HWND owner) {
  if (!CreateModeless(instance_, IDD_UpdSys, owner))
    return false;
  ShowWindow(Hwnd(), SW_SHOW);
  // A single pass does not always paint a new window: drain the queue.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

}  // namespace vtq::app
