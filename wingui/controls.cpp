#include "wingui/controls.h"

#include <commctrl.h>

namespace vtq::wingui {

std::wstring GetText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetText(HWND window, std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(window, copy.c_str());
}

bool IsChecked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsEnabled(HWND window) {
  return IsWindowEnabled(window) != FALSE;
}

void SetEnabled(HWND window, bool enabled) {
  EnableWindow(window, enabled ? TRUE : FALSE);
}

void Focus(HWND window) {
  HWND parent = GetParent(window);
  // In a dialog, moving the focus through the dialog manager keeps the
  // default button right.
  if (parent != nullptr && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
    SendMessageW(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
  else
    SetFocus(window);
}

void ComboClear(HWND combo) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

void ComboAdd(HWND combo, std::wstring_view text) {
  const std::wstring copy(text);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

int ComboCount(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

void ComboSelect(HWND combo, int position) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int ComboSelected(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

std::wstring ComboItemText(HWND combo, int position) {
  const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == CB_ERR)
    return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void ProgressSetRange(HWND bar, int maximum) {
  SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
}

void ProgressSetValue(HWND bar, int value) {
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

int ProgressValue(HWND bar) {
  return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
}

int ProgressMaximum(HWND bar) {
  return static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
}

int EditCaret(HWND edit) {
  DWORD start = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

}  // namespace vtq::wingui
