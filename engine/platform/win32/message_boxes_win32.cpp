#include "engine/platform/win32/message_boxes_win32.h"

namespace vtq {

int Win32MessageBoxes::Show(std::string_view text, std::string_view title, unsigned style) {
  const std::string body(text);
  const std::string caption = title.empty() ? defaultTitle_ : std::string(title);
  return MessageBoxA(owner_, body.c_str(), caption.c_str(), style);
}

void Win32MessageLoop::Yield() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the outer loop that owns the thread.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace vtq
