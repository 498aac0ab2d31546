#pragma once
// Our own window classes share one window procedure. The C++ object is
// handed over through CreateWindowExW's creation parameter, bound to the
// HWND at WM_NCCREATE and found again from the HWND afterwards.
//
// Destroy order: WM_DESTROY reaches OnDestroy while the children still
// exist; at WM_NCDESTROY (the last message) the object is unbound, its HWND
// forgotten, and OnFinalMessage runs, after which the object may go. An
// object that goes first destroys its window, without OnFinalMessage.

#include <windows.h>

namespace vtq::wingui {

struct WindowArgs {
  const wchar_t* className = nullptr;
  const wchar_t* title = L"";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;
  HINSTANCE instance = nullptr;  // none: the running program
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Hwnd() const { return hwnd_; }
  static Window* FromHwnd(HWND hwnd);

  // False when the system refuses; the object is then unbound.
  bool Create(const WindowArgs& args);

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // Messages the class does not answer go to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnDestroy() {}
  virtual void OnFinalMessage() {}

 private:
  HWND hwnd_ = nullptr;
};

// Registers a class of ours over Window::Procedure. Registering a class
// twice is not an error (the first registration stays).
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon = nullptr,
                         HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

}  // namespace vtq::wingui
