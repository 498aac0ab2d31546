#pragma once
// Owners of device contexts, each given back the way it was taken: a
// window's DC (GetDC) through ReleaseDC, a paint's (BeginPaint) through
// EndPaint, a memory DC (CreateCompatibleDC) through DeleteDC. None can be
// copied or moved: each lives in the scope that draws with it.

#include <windows.h>

namespace vtq::base::win {

// The client area's DC of a window, or the screen's for no window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_)
      ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The DC of one WM_PAINT; EndPaint validates the area even when drawing
// stops early.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A memory DC like `like` (none for a null one).
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) noexcept : dc_(like ? CreateCompatibleDC(like) : nullptr) {}
  ~MemoryDc() {
    if (dc_)
      DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

}  // namespace vtq::base::win
