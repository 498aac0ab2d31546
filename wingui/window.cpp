#include "wingui/window.h"

#include "base/win/window_barrier.h"

namespace vtq::wingui {

Window::~Window() {
  if (hwnd_ != nullptr) {
    HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

Window* Window::FromHwnd(HWND hwnd) {
  if (hwnd == nullptr ||
      GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::Procedure))
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::Create(const WindowArgs& args) {
  HINSTANCE instance = args.instance ? args.instance : GetModuleHandleW(nullptr);
  HWND hwnd = CreateWindowExW(args.exStyle, args.className, args.title, args.style, args.x, args.y,
                              args.width, args.height, args.parent, nullptr, instance, this);
  return hwnd != nullptr && hwnd == hwnd_;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (auto* window = static_cast<Window*>(create->lpCreateParams)) {
      window->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
  }
  Window* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  // A failed message gets the system's own answer, except that a window
  // whose creation failed is not created.
  const auto failed = [&]() -> LRESULT {
    return message == WM_NCCREATE ? FALSE
           : message == WM_CREATE ? -1
                                  : DefWindowProcW(hwnd, message, wParam, lParam);
  };
  const auto handle = [&] { return window->HandleMessage(message, wParam, lParam); };
  if (message == WM_DESTROY)
    base::win::WindowBarrier<int>(hwnd, 0, [&] { return window->OnDestroy(), 0; });
  if (message == WM_NCDESTROY) {
    // The object lets the window go whatever its handlers do.
    const LRESULT result = base::win::WindowBarrier<LRESULT>(hwnd, failed, handle);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    base::win::WindowBarrier<int>(hwnd, 0, [&] { return window->OnFinalMessage(), 0; });
    return result;
  }
  return base::win::WindowBarrier<LRESULT>(hwnd, failed, handle);
}

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                         HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = &Window::Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  if (RegisterClassExW(&windowClass) != 0)
    return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace vtq::wingui
