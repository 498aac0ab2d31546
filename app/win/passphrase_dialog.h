#pragma once
// The passphrase dialog (frmPWconf): a masked box with OK and Cancel, its
// title and prompt by what it is asked for. Enter answers OK, Esc Cancel.

#include <windows.h>

#include <optional>
#include <string>

#include "wingui/dialog.h"

namespace vtq::app {

enum class PassphraseAsk {
  kConfirm,  // before a split
  kCheck,    // assembling an encrypted series
};

class PassphraseDialog final : public wingui::Dialog {
 public:
  // `theme` is applied on opening (0..4).
  PassphraseDialog(HINSTANCE instance, PassphraseAsk ask, int theme);
  // What the user typed; nullopt when they cancelled.
  std::optional<std::wstring> Ask(HWND owner);

  static const wchar_t* TitleFor(PassphraseAsk ask);
  static const wchar_t* PromptFor(PassphraseAsk ask);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  HINSTANCE instance_;
  PassphraseAsk ask_;
  int theme_;
  std::wstring typed_;
};

}  // namespace vtq::app
