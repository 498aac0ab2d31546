#include "wingui/tooltips.h"

#include <commctrl.h>

#include <vector>

namespace vtq::wingui {
namespace {

TTTOOLINFOW ToolOf(HWND owner, HWND control, wchar_t* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  return tool;
}

}  // namespace

Tooltips::~Tooltips() {
  if (tips_ != nullptr)
    DestroyWindow(tips_);
}

bool Tooltips::Create(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  owner_ = owner;
  tips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                          nullptr, nullptr, nullptr);
  if (tips_ == nullptr)
    return false;
  // Paths are long: the tip breaks them rather than running off the screen.
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 480);
  return true;
}

void Tooltips::SetText(HWND control, std::wstring_view text) {
  if (tips_ == nullptr || control == nullptr)
    return;
  std::wstring copy(text);
  TTTOOLINFOW tool = ToolOf(owner_, control, copy.data());
  if (tools_.insert(control).second)
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  else
    SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Tooltips::Text(HWND control) const {
  if (tips_ == nullptr || tools_.count(control) == 0)
    return {};
  // The tooltip copies at most 80 characters unless given the room to say
  // how much it holds; TTM_GETTEXTW takes the buffer's size in wParam.
  std::vector<wchar_t> text(32768, L'\0');
  TTTOOLINFOW tool = ToolOf(owner_, control, text.data());
  SendMessageW(tips_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return std::wstring(tool.lpszText != nullptr ? tool.lpszText : L"");
}

}  // namespace vtq::wingui
