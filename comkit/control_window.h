#pragma once
// The control's in-place window: a child of the container's window that
// paints the caption and always has the control's fixed size in pixels,
// whatever position rectangle it is given. The window class belongs to the
// module that holds the control and is registered while any such window
// exists, so that a server DLL unloaded and loaded again never meets a
// class whose window procedure has gone.

#include <windows.h>

#include "comkit/control_look.h"

namespace vtq::comkit {

class ControlWindow {
 public:
  // A visible child of `parent` at `topLeft` (client coordinates of the
  // parent), `size` pixels large. Valid() says whether the window exists.
  ControlWindow(const ControlLook& look, HWND parent, POINT topLeft, SIZE size);
  ~ControlWindow();
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  bool Valid() const { return window_ != nullptr; }
  HWND Handle() const { return window_; }
  // Moves the window; its size stays.
  void MoveTo(POINT topLeft);
  void Repaint();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  const ControlLook& look_;
  HWND window_ = nullptr;
};

}  // namespace vtq::comkit
