#include "wingui/focus_watch.h"

#include <commctrl.h>

#include "base/win/window_barrier.h"

namespace vtq::wingui {
namespace {

constexpr UINT_PTR kSubclassId = 0x76747166;  // one watch per control

}  // namespace

FocusLossWatch::FocusLossWatch(HWND control, Handler handler)
    : control_(control), handler_(std::move(handler)) {
  SetWindowSubclass(control_, &FocusLossWatch::Procedure, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
}

FocusLossWatch::~FocusLossWatch() {
  if (IsWindow(control_))
    RemoveWindowSubclass(control_, &FocusLossWatch::Procedure, kSubclassId);
}

LRESULT CALLBACK FocusLossWatch::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
  if (message == WM_KILLFOCUS) {
    base::win::WindowBarrier<int>(hwnd, 0, [&] {
      reinterpret_cast<FocusLossWatch*>(self)->handler_(reinterpret_cast<HWND>(wParam));
      return 0;
    });
  } else if (message == WM_NCDESTROY)
    RemoveWindowSubclass(hwnd, &FocusLossWatch::Procedure, kSubclassId);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vtq::wingui
