#pragma once
// Makes the system's message boxes modal to a dialog while it is open, and
// gives them back to their previous owner afterwards. Boxes that are not
// the system's (a test's) are left as they are.

#include <windows.h>

#include "engine/platform/win32/message_boxes_win32.h"

namespace vtq::app {

class ScopedBoxOwner {
 public:
  ScopedBoxOwner(MessageBoxes& boxes, HWND owner)
      : system_(dynamic_cast<Win32MessageBoxes*>(&boxes)),
        previous_(system_ ? system_->Owner() : nullptr) {
    if (system_)
      system_->SetOwner(owner);
  }
  ~ScopedBoxOwner() {
    if (system_)
      system_->SetOwner(previous_);
  }
  ScopedBoxOwner(const ScopedBoxOwner&) = delete;
  ScopedBoxOwner& operator=(const ScopedBoxOwner&) = delete;

 private:
  Win32MessageBoxes* system_;
  HWND previous_;
};

}  // namespace vtq::app
