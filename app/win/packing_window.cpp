#include "app/win/packing_window.h"

#include <commctrl.h>

#include <string>

#include "app/win/resource_ids.h"
#include "base/utf8_text.h"

namespace vtq::app {

// One pass over the queue, so that the window paints and takes its Cancel
// before the component blocks the thread again.
void PackingWindow::ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (Hwnd() != nullptr && IsDialogMessageW(Hwnd(), &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PackingWindow::Show(std::string_view caption) {
  Close();
  dialog_.emplace();
  if (!dialog_->CreateModeless(instance_, IDD_frmPrework, owner_ ? owner_() : nullptr)) {
    dialog_.reset();
    return;
  }
  const std::wstring text = base::FromUtf8(caption);
  SetDlgItemTextW(dialog_->Hwnd(), IDC_lblCapt, text.c_str());
  SendDlgItemMessageW(dialog_->Hwnd(), IDC_PB, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageW(dialog_->Hwnd(), IDC_PB, PBM_SETPOS, 0, 0);
  ShowWindow(dialog_->Hwnd(), SW_SHOW);
  ProcessPendingMessages();
}

void PackingWindow::SetProgress(int16_t percent) {
  if (Hwnd() == nullptr)
    return;
  SendDlgItemMessageW(Hwnd(), IDC_PB, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  ProcessPendingMessages();
}

void PackingWindow::OfferCancel() {
  if (Hwnd() == nullptr)
    return;
  HWND cancel = GetDlgItem(Hwnd(), IDCANCEL);
  ShowWindow(cancel, SW_SHOW);
  SetFocus(cancel);
  ProcessPendingMessages();
}

bool PackingWindow::CancelRequested() {
  return dialog_ && dialog_->cancelled;
}

void PackingWindow::Close() {
  // Destroying the dialog object destroys its window.
  dialog_.reset();
}

HWND PackingWindow::Hwnd() const {
  return dialog_ ? dialog_->Hwnd() : nullptr;
}

}  // namespace vtq::app
