#include "comkit/control_window.h"

#include "base/win/device_contexts.h"
#include "base/win/window_barrier.h"
#include "comkit/control_caption.h"
#include "comkit/module_state.h"

namespace vtq::comkit {

namespace {

constexpr wchar_t kClassName[] = L"VtqFixedSizeControl";

HINSTANCE OwnInstance() {
  // A program that hosts a control of its own (a test) never set the
  // instance of a DLL.
  return ModuleInstance() ? ModuleInstance() : GetModuleHandleW(nullptr);
}

}  // namespace

ControlWindow::ControlWindow(const ControlLook& look, HWND parent, POINT topLeft, SIZE size)
    : look_(look) {
  WNDCLASSEXW type = {};
  type.cbSize = sizeof type;
  type.style = CS_HREDRAW | CS_VREDRAW;
  type.lpfnWndProc = &ControlWindow::Procedure;
  type.hInstance = OwnInstance();
  type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  type.lpszClassName = kClassName;
  RegisterClassExW(&type);  // already registered while another window lives: fine
  window_ = CreateWindowExW(0, kClassName, look.caption,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, topLeft.x,
                            topLeft.y, size.cx, size.cy, parent, nullptr, OwnInstance(), this);
}

ControlWindow::~ControlWindow() {
  if (window_)
    DestroyWindow(window_);
  // Fails while windows of other controls of this module remain.
  UnregisterClassW(kClassName, OwnInstance());
}

void ControlWindow::MoveTo(POINT topLeft) {
  SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindow::Repaint() {
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK ControlWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const auto answer = [&]() -> LRESULT {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole face
      case WM_PAINT:
        if (self) {
          const base::win::PaintDc dc(window);
          RECT client;
          GetClientRect(window, &client);
          DrawCaption(dc.Get(), client, self->look_);
          return 0;
        }
        break;
      case WM_PRINTCLIENT:
        if (self) {
          RECT client;
          GetClientRect(window, &client);
          DrawCaption(reinterpret_cast<HDC>(wParam), client, self->look_);
          return 0;
        }
        break;
      case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self)
          self->window_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  };
  return base::win::WindowBarrier<LRESULT>(
      window, [&] { return DefWindowProcW(window, message, wParam, lParam); }, answer);
}

}  // namespace vtq::comkit
