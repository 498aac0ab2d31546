#include "app/win/tests/window_harness.h"

#include <gtest/gtest.h>

#include "wingui/controls.h"

namespace vtq::app::test {
namespace {

// The timer has no context argument; one set of scripts runs at a time.
thread_local ModalScripts* running = nullptr;

struct Search {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window))
    return TRUE;
  if (wingui::GetText(window) != *search->title)
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

void Click(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
  ASSERT_TRUE(IsWindowEnabled(control)) << "control " << id << " is disabled";
  ASSERT_TRUE(IsWindowVisible(control)) << "control " << id << " is hidden";
  SendMessageW(control, BM_CLICK, 0, 0);
}

void Choose(HWND dialog, int id, int position) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_TRUE(IsWindowEnabled(control)) << "list " << id << " is disabled";
  wingui::ComboSelect(control, position);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
}

void Type(HWND dialog, int id, const std::wstring& text) {
  HWND control = GetDlgItem(dialog, id);
  for (wchar_t c : text)
    SendMessageW(control, WM_CHAR, c, 1);
}

std::wstring TextOf(HWND dialog, int id) {
  return wingui::GetText(GetDlgItem(dialog, id));
}

ModalScripts::ModalScripts(std::vector<ModalScript> scripts) : scripts_(std::move(scripts)) {
  running = this;
  timer_ = SetTimer(nullptr, 0, 20, &ModalScripts::Tick);
}

ModalScripts::~ModalScripts() {
  if (timer_ != 0)
    KillTimer(nullptr, timer_);
  running = nullptr;
}

void CALLBACK ModalScripts::Tick(HWND, UINT, UINT_PTR, DWORD) {
  ModalScripts* self = running;
  if (self == nullptr || self->next_ >= self->scripts_.size())
    return;
  Search search{&self->scripts_[self->next_].title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr)
    return;
  // Marked started before the steps run: they may open the next dialog,
  // whose loop calls this again.
  const size_t index = self->next_++;
  if (self->next_ == self->scripts_.size()) {
    KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
  }
  self->scripts_[index].steps(search.found);
}

}  // namespace vtq::app::test
