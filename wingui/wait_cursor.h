#pragma once
// The hourglass for the life of the guard, then the cursor shown before.

#include <windows.h>

#include "base/win/restore_guards.h"

namespace vtq::wingui {

class WaitCursor {
 public:
  WaitCursor() : guard_(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT))) {}

 private:
  base::win::ScopedCursor guard_;
};

}  // namespace vtq::wingui
