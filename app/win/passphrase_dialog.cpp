#include "app/win/passphrase_dialog.h"

#include "app/win/resource_ids.h"
#include "app/win/theme_colours.h"
#include "wingui/controls.h"

namespace vtq::app {

PassphraseDialog::PassphraseDialog(HINSTANCE instance, PassphraseAsk ask, int theme)
    : instance_(instance), ask_(ask), theme_(theme) {}

const wchar_t* PassphraseDialog::TitleFor(PassphraseAsk ask) {
  return ask == PassphraseAsk::kConfirm ? L"Password Confirmation" : L"Security check";
}

const wchar_t* PassphraseDialog::PromptFor(PassphraseAsk ask) {
  return ask == PassphraseAsk::kConfirm
             ? L"Before splitting takes place, please retype your password to confirm that you "
               L"have entered it correctly. Passwords are case-sensitive."
             : L"This fragment series has been encrypted. Please enter the correct password. "
               L"Passwords are case-sensitive.";
}

std::optional<std::wstring> PassphraseDialog::Ask(HWND owner) {
  if (RunModal(instance_, IDD_frmPWconf, owner) != IDOK)
    return std::nullopt;
  return typed_;
}

bool PassphraseDialog::OnInit() {
  ApplyColours(ThemeColours(theme_));
  wingui::SetText(Hwnd(), TitleFor(ask_));
  wingui::SetText(Item(IDC_lblPrompt), PromptFor(ask_));
  wingui::SetText(Item(IDC_txtPassword), L"");
  wingui::Focus(Item(IDC_txtPassword));
  return false;
}

bool PassphraseDialog::OnCommand(int id, int, HWND) {
  if (id != IDOK)
    return false;
  typed_ = wingui::GetText(Item(IDC_txtPassword));
  End(IDOK);
  return true;
}

}  // namespace vtq::app
