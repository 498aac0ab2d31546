// Reads back the captions of a program's window that another process
// shows, for the scripts that start the shipped program itself
// (scripts/test-product32):
//   window_captions TITLE SECONDS [--close | --press CAPTION]
// Waits up to SECONDS for a visible top-level window whose title begins
// with TITLE, prints its title and then the text of each of its controls,
// one a line in UTF-8; --close then closes it as its close box does,
// --press clicks its button captioned CAPTION (a message box's "&No"), and
// either waits until it is gone. Exit status 0 when all went so, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

void PrintLine(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  std::printf("%s\n", utf8.c_str());
}

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK LookAt(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (IsWindowVisible(window) && TextOf(window).starts_with(search.title)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  PrintLine(TextOf(control));
  return TRUE;
}

BOOL CALLBACK FindControl(HWND control, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (TextOf(control) == search.title) {
    search.found = control;
    return FALSE;
  }
  return TRUE;
}

// Whether `condition` held within `seconds`, asked every tenth of a second.
template <typename Condition>
bool Within(double seconds, Condition condition) {
  for (DWORD start = GetTickCount(); !condition();) {
    if (GetTickCount() - start > seconds * 1000)
      return false;
    Sleep(100);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring action = argc > 3 ? argv[3] : L"";
  if (argc < 3 || (argc > 3 && action != L"--close" && !(action == L"--press" && argc > 4))) {
    std::fputs("usage: window_captions TITLE SECONDS [--close | --press CAPTION]\n", stderr);
    return 2;
  }
  Search search{argv[1]};
  const double seconds = std::wcstod(argv[2], nullptr);
  if (!Within(seconds, [&] {
        EnumWindows(LookAt, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      })) {
    std::fprintf(stderr, "window_captions: no window appeared within %g s\n", seconds);
    return 1;
  }
  PrintLine(TextOf(search.found));
  EnumChildWindows(search.found, PrintControl, 0);
  std::fflush(stdout);
  if (action.empty())
    return 0;
  if (action == L"--close") {
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  } else {
    // A click reaches the dialog as its button's command.
    Search button{argv[4]};
    EnumChildWindows(search.found, FindControl, reinterpret_cast<LPARAM>(&button));
    if (!button.found) {
      std::fprintf(stderr, "window_captions: the window has no button %ls\n", argv[4]);
      return 1;
    }
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.found), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.found));
  }
  if (!Within(seconds, [&] { return !IsWindow(search.found); })) {
    std::fprintf(stderr, "window_captions: the window did not close within %g s\n", seconds);
    return 1;
  }
  return 0;
}
