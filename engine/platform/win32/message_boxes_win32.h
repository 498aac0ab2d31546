#pragma once
// The system's message boxes and message loop for the Windows hosts.

#include <windows.h>

#include <string>
#include <utility>

#include "engine/platform/platform.h"

namespace vtq {

inline constexpr const char* kDefaultBoxTitle = "Vantrelloquin";

class Win32MessageBoxes final : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(std::string defaultTitle = kDefaultBoxTitle)
      : defaultTitle_(std::move(defaultTitle)) {}
  // The window the boxes are modal to; none makes them task-modal to no one.
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND Owner() const { return owner_; }
  const std::string& DefaultTitle() const { return defaultTitle_; }

  int Show(std::string_view text, std::string_view title, unsigned style) override;

 private:
  std::string defaultTitle_;
  HWND owner_ = nullptr;
};

// Drains the thread's queue so that windows repaint and input is handled
// while a long run holds the thread.
class Win32MessageLoop final : public MessageLoop {
 public:
  void Yield() override;
};

}  // namespace vtq
