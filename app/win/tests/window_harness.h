#pragma once
// Drives our windows from a test in the same process, as a user would:
// clicks only what is enabled and visible, chooses list entries with the
// notification a user's choice sends, types characters, and scripts modal
// dialogs, which run their own message loop, through a thread timer that
// finds each dialog by its title once it is up. Message boxes and shell
// dialogs are answered by the seam doubles, not here.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vtq::app::test {

// The program's module, which holds the dialog templates of the tests.
HINSTANCE Instance();

// BM_CLICK on control `id`; fails the test when it is disabled or hidden.
void Click(HWND dialog, int id);
// Selects `position` in a drop-down list and notifies as a user would.
void Choose(HWND dialog, int id, int position);
// Types the characters of `text` into control `id` (WM_CHAR each).
void Type(HWND dialog, int id, const std::wstring& text);
std::wstring TextOf(HWND dialog, int id);

// Steps to run in the modal dialog titled `title` once it shows; the last
// step normally closes it. Scripts run in order, one per dialog opened; a
// step may open the next dialog (nested).
struct ModalScript {
  std::wstring title;
  std::function<void(HWND dialog)> steps;
};

class ModalScripts {
 public:
  explicit ModalScripts(std::vector<ModalScript> scripts);
  ~ModalScripts();
  ModalScripts(const ModalScripts&) = delete;
  ModalScripts& operator=(const ModalScripts&) = delete;
  // How many scripts have started.
  size_t Started() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
  std::vector<ModalScript> scripts_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

}  // namespace vtq::app::test
