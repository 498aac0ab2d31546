#pragma once
// Every dialog of ours runs over one dialog procedure. The C++ object is
// handed over as the creation parameter, bound at WM_INITDIALOG (messages
// before it get the dialog manager's defaults) and found again from the
// HWND. The base colours the dialog and its controls (see colouring.h) and
// paints its lamps (lamp.h).
//
// Destroy order: WM_DESTROY reaches OnDestroy while the controls still
// exist (theme-immune marks are removed then); at WM_NCDESTROY the object
// is unbound and its HWND forgotten. A modeless dialog whose object goes
// first is destroyed by it.

#include <windows.h>

#include <optional>

#include "wingui/colouring.h"

namespace vtq::wingui {

class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows the dialog of template `templateId` modally; returns what End was
  // given, or -1 when the template cannot be loaded.
  INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
  // Creates it modeless; false when the system refuses.
  bool CreateModeless(HINSTANCE instance, int templateId, HWND owner);
  // The same from a template in memory.
  bool CreateModeless(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner);

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  bool IsModal() const { return modal_; }
  static Dialog* FromHwnd(HWND hwnd);

  // Colours the dialog: nullopt is the system look.
  void ApplyColours(std::optional<ColourPair> colours);
  const WindowColouring& Colouring() const { return colouring_; }

  // Ends a modal dialog with `result`, destroys a modeless one.
  void End(INT_PTR result);

 protected:
  // Return true to let the system set the focus to the first tab stop.
  virtual bool OnInit() { return true; }
  // True when the command was handled. Unhandled IDCANCEL ends the dialog.
  virtual bool OnCommand(int id, int code, HWND control) {
    (void)id, (void)code, (void)control;
    return false;
  }
  // Any other message; nullopt leaves it to the base and the dialog manager.
  virtual std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)message, (void)wParam, (void)lParam;
    return std::nullopt;
  }
  virtual void OnDestroy() {}

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool modal_ = false;
  WindowColouring colouring_;
};

}  // namespace vtq::wingui
