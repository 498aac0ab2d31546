#pragma once
// The small "Updating your system...." window (UpdSys), shown while the
// program registers its sound events. Show() draws it before returning, so
// that it is visible while the caller blocks the thread.

#include <windows.h>

#include "wingui/dialog.h"

namespace vtq::app {

class UpdatingWindow final : public wingui::Dialog {
 public:
  explicit UpdatingWindow(HINSTANCE instance) : instance_(instance) {}
  bool Show(HWND owner);
  void Close() { End(0); }

 private:
  HINSTANCE instance_;
};

}  // namespace vtq::app
