#include "engine/platform/win32/message_boxes_win32.h"

#include "base/utf8_text.h"

namespace vtq {

int Win32MessageBoxes::Show(std::string_view text, std::string_view title, unsigned style) {
  const std::wstring body = base::FromUtf8(text);
  const std::wstring caption = base::FromUtf8(title.empty() ? defaultTitle_ : title);
  return MessageBoxW(owner_, body.c_str(), caption.c_str(), style);
}

void Win32MessageLoop::Yield() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the outer loop that owns the thread.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vtq
