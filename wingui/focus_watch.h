#pragma once
// Tells which window takes the focus from a control, as it goes: the
// control's owner hears only that it was left (EN_KILLFOCUS), and a check
// made on leaving may not be wanted on the way to every control (a Cancel
// or Exit button, a choice that makes the check moot).

#include <windows.h>

#include <functional>

namespace vtq::wingui {

class FocusLossWatch {
 public:
  // Called with the window that gets the focus (null for none of this
  // thread's), before the control tells its owner it was left.
  using Handler = std::function<void(HWND next)>;

  FocusLossWatch(HWND control, Handler handler);
  ~FocusLossWatch();
  FocusLossWatch(const FocusLossWatch&) = delete;
  FocusLossWatch& operator=(const FocusLossWatch&) = delete;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
  HWND control_;
  Handler handler_;
};

}  // namespace vtq::wingui
