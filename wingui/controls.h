#pragma once
// Typed helpers over the messages of the standard controls, so that the
// windows read and set their controls in words rather than raw messages.
// Texts are UTF-16 throughout.

#include <windows.h>

#include <string>
#include <string_view>

namespace vtq::wingui {

std::wstring GetText(HWND window);
void SetText(HWND window, std::wstring_view text);

// Check boxes and option buttons. Setting a state sends no notification.
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

bool IsEnabled(HWND window);
void SetEnabled(HWND window, bool enabled);
void Focus(HWND window);

// Drop-down lists. A position of -1 is "nothing selected".
void ComboClear(HWND combo);
void ComboAdd(HWND combo, std::wstring_view text);
int ComboCount(HWND combo);
void ComboSelect(HWND combo, int position);
int ComboSelected(HWND combo);
std::wstring ComboItemText(HWND combo, int position);

// Progress bars (msctls_progress32) with a 32-bit range.
void ProgressSetRange(HWND bar, int maximum);
void ProgressSetValue(HWND bar, int value);
int ProgressValue(HWND bar);
int ProgressMaximum(HWND bar);

// Edit boxes: the caret position (start of the selection).
int EditCaret(HWND edit);

}  // namespace vtq::wingui
