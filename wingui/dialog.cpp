#include "wingui/dialog.h"

#include "base/win/window_barrier.h"
#include "wingui/lamp.h"

namespace vtq::wingui {
namespace {

BOOL CALLBACK ForgetMarks(HWND control, LPARAM) {
  ForgetThemeImmune(control);
  return TRUE;
}

}  // namespace

Dialog::~Dialog() {
  if (hwnd_ != nullptr && !modal_) {
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);
  }
}

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
  modal_ = true;
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, &Dialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
  modal_ = false;
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, &Dialog::Procedure,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool Dialog::CreateModeless(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner) {
  modal_ = false;
  return CreateDialogIndirectParamW(instance, dialogTemplate, owner, &Dialog::Procedure,
                                    reinterpret_cast<LPARAM>(this)) != nullptr;
}

Dialog* Dialog::FromHwnd(HWND hwnd) {
  if (hwnd == nullptr ||
      GetWindowLongPtrW(hwnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&Dialog::Procedure))
    return nullptr;
  return reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

void Dialog::ApplyColours(std::optional<ColourPair> colours) {
  colouring_.Apply(hwnd_, colours);
}

void Dialog::End(INT_PTR result) {
  if (hwnd_ == nullptr)
    return;
  if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lParam);
    dialog->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (dialog == nullptr)
    return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    dialog->hwnd_ = nullptr;
    return FALSE;
  }
  // A failed message is left to the dialog manager.
  return base::win::WindowBarrier<INT_PTR>(hwnd, FALSE,
                                           [&] { return dialog->Handle(message, wParam, lParam); });
}

INT_PTR Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      EnumChildWindows(hwnd_, ForgetMarks, 0);
      return FALSE;
    default:
      break;
  }
  if (const auto answered = OnMessage(message, wParam, lParam))
    return *answered;
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return TRUE;
      if (LOWORD(wParam) == IDCANCEL) {
        End(IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const auto brush = colouring_.Answer(message, reinterpret_cast<HDC>(wParam),
                                               reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<INT_PTR>(*brush);
      return FALSE;
    case WM_DRAWITEM:
      return DrawLamp(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), colouring_.Background())
                 ? TRUE
                 : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace vtq::wingui
