#pragma once
// Tooltips over the controls of one window: each control shows its own
// text when the pointer rests on it. The texts change whenever the window
// is drawn again; the tooltip control goes with the object.

#include <windows.h>

#include <set>
#include <string>
#include <string_view>

namespace vtq::wingui {

class Tooltips {
 public:
  Tooltips() = default;
  ~Tooltips();
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  // The tooltip control of `owner`; false when the system refuses it.
  bool Create(HWND owner);
  // The text `control` shows from now on (a static needs SS_NOTIFY).
  void SetText(HWND control, std::wstring_view text);
  // What `control` shows; empty for a control without a tip.
  std::wstring Text(HWND control) const;
  HWND Hwnd() const { return tips_; }

 private:
  HWND owner_ = nullptr;
  HWND tips_ = nullptr;
  std::set<HWND> tools_;
};

}  // namespace vtq::wingui
