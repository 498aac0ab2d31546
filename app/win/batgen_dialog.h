#pragma once
// The Configure BAT Generator dialog (frmConfBAT) over its state.

#include <windows.h>

#include <optional>

#include "app/model/batgen_dialog_state.h"
#include "base/win/handles.h"
#include "wingui/dialog.h"

namespace vtq::app {

class BatGenDialog final : public wingui::Dialog {
 public:
  BatGenDialog(HINSTANCE instance, settings::SettingsStore& store);
  // Modal; IDOK after Save, IDCANCEL otherwise.
  INT_PTR Show(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void ShowState();
  static LRESULT CALLBACK TextBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);

  HINSTANCE instance_;
  settings::SettingsStore& store_;
  model::BatGenDialogState state_;
  // A batch file's text shows in a DOS box: a fixed-pitch font shows its
  // lines as they will look there.
  base::win::GdiObject<HFONT> textFont_;
};

}  // namespace vtq::app
