#include "app/win/batgen_dialog.h"

#include <commctrl.h>

#include "app/win/resource_ids.h"
#include "base/win/device_contexts.h"
#include "base/win/window_barrier.h"
#include "app/win/theme_colours.h"
#include "wingui/controls.h"

namespace vtq::app {
namespace {

constexpr UINT_PTR kTextBoxSubclass = 1;

}  // namespace

BatGenDialog::BatGenDialog(HINSTANCE instance, settings::SettingsStore& store)
    : instance_(instance), store_(store), state_(store) {}

INT_PTR BatGenDialog::Show(HWND owner) {
  return RunModal(instance_, IDD_frmConfBAT, owner);
}

bool BatGenDialog::OnInit() {
  ApplyColours(ThemeColours(store_.Theme()));
  HWND text = Item(IDC_txtIniText);
  const int pixelsPerInch = GetDeviceCaps(base::win::WindowDc(Hwnd()).Get(), LOGPIXELSY);
  textFont_.Reset(CreateFontW(-MulDiv(8, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                              FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
  if (textFont_)
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
  SetWindowSubclass(text, &BatGenDialog::TextBoxProc, kTextBoxSubclass, 0);
  ShowState();
  // The caret at the start of the text, nothing selected.
  wingui::Focus(text);
  SendMessageW(text, EM_SETSEL, 0, 0);
  return false;
}

void BatGenDialog::OnDestroy() {
  RemoveWindowSubclass(Item(IDC_txtIniText), &BatGenDialog::TextBoxProc, kTextBoxSubclass);
}

void BatGenDialog::ShowState() {
  wingui::SetText(Item(IDC_txtIniText), state_.Text());
  wingui::SetChecked(Item(IDC_chkDecompress), state_.Decompress());
  wingui::SetChecked(Item(IDC_chkDelCabs), state_.DeleteCabs());
  wingui::SetEnabled(Item(IDC_chkDelCabs), state_.DeleteCabsEnabled());
}

bool BatGenDialog::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_chkDecompress:
      if (code != BN_CLICKED)
        return false;
      state_.SetDecompress(wingui::IsChecked(Item(IDC_chkDecompress)));
      wingui::SetChecked(Item(IDC_chkDelCabs), state_.DeleteCabs());
      wingui::SetEnabled(Item(IDC_chkDelCabs), state_.DeleteCabsEnabled());
      return true;
    case IDC_chkDelCabs:
      if (code == BN_CLICKED)
        state_.SetDeleteCabs(wingui::IsChecked(Item(IDC_chkDelCabs)));
      return code == BN_CLICKED;
    case IDC_txtIniText:
      if (code == EN_CHANGE)
        state_.SetText(wingui::GetText(Item(IDC_txtIniText)));
      return code == EN_CHANGE;
    case IDC_cmdRestoreDefault:
      state_.RestoreDefaults();
      ShowState();
      return true;
    case IDOK:
      state_.SetText(wingui::GetText(Item(IDC_txtIniText)));
      state_.Save();
      End(IDOK);
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK BatGenDialog::TextBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR) {
  if (message == WM_CHAR && base::win::WindowBarrier<bool>(edit, false, [&] {
        return !model::AcceptsTypedKey(wingui::GetText(edit),
                                       static_cast<size_t>(wingui::EditCaret(edit)),
                                       static_cast<unsigned>(wParam));
      })) {
    MessageBeep(MB_OK);
    return 0;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace vtq::app
