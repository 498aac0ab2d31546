// The system's message boxes and message loop, shown and answered for real:
// a thread timer finds the box once its text is in and presses a button.
#include "engine/platform/win32/message_boxes_win32.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vtq {
namespace {

struct SeenBox {
  std::string text;
  std::string title;
  HWND owner = nullptr;
  HICON icon = nullptr;
  bool seen = false;
};

// What the timer callback reads and answers; a timer has no context
// argument, and the box runs its own loop on this thread.
struct Answering {
  int button = IDOK;
  SeenBox box;
};
thread_local Answering* answering = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(window))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr || answering == nullptr)
    return;
  char text[512] = {}, title[256] = {};
  if (GetDlgItemTextA(box, 0xFFFF, text, sizeof text) == 0)
    return;
  KillTimer(nullptr, timer);
  GetWindowTextA(box, title, sizeof title);
  answering->box =
      SeenBox{text, title, GetWindow(box, GW_OWNER),
              reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0)), true};
  PostMessageA(box, WM_COMMAND, answering->button, 0);
}

class RealBoxes : public ::testing::Test {
 protected:
  int ShowAnswered(MessageBoxes& boxes, std::string_view text, std::string_view title,
                   unsigned style, int button) {
    Answering state{button, {}};
    answering = &state;
    SetTimer(nullptr, 0, 20, AnswerBox);
    const int answer = boxes.Show(text, title, style);
    answering = nullptr;
    seen = state.box;
    return answer;
  }
  SeenBox seen;
};

TEST_F(RealBoxes, EmptyTitleTakesTheApplicationTitle) {
  Win32MessageBoxes boxes;
  EXPECT_EQ(boxes.DefaultTitle(), "Vantrelloquin");
  EXPECT_EQ(ShowAnswered(boxes, "New size of file-list = 3", "", mb::kOk, IDOK), mb::kIdOk);
  ASSERT_TRUE(seen.seen);
  EXPECT_EQ(seen.title, "Vantrelloquin");
  EXPECT_EQ(seen.text, "New size of file-list = 3");
  EXPECT_EQ(seen.icon, nullptr);

  Win32MessageBoxes control("Marrowgate32");
  ShowAnswered(control, "x", "", mb::kOk, IDOK);
  EXPECT_EQ(seen.title, "Marrowgate32");
}

TEST_F(RealBoxes, GivenTitleTextIconAndAnswerPassThrough) {
  Win32MessageBoxes boxes;
  EXPECT_EQ(ShowAnswered(boxes, "CD-ROM handler not yet present. Will be treated like hard-disk.",
                         "CDROM Warning", mb::kOk | mb::kIconExclamation, IDOK),
            mb::kIdOk);
  EXPECT_EQ(seen.title, "CDROM Warning");
  EXPECT_EQ(seen.text, "CD-ROM handler not yet present. Will be treated like hard-disk.");
  EXPECT_EQ(seen.icon, LoadIcon(nullptr, IDI_EXCLAMATION));

  EXPECT_EQ(ShowAnswered(boxes, "Go on?", "Q", mb::kYesNo | mb::kIconQuestion, IDNO), mb::kIdNo);
  EXPECT_EQ(seen.icon, LoadIcon(nullptr, IDI_QUESTION));
}

TEST_F(RealBoxes, BoxesAreOwnedByTheWindowGiven) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  Win32MessageBoxes boxes;
  boxes.SetOwner(owner);
  ShowAnswered(boxes, "owned", "", mb::kOk, IDOK);
  EXPECT_EQ(seen.owner, owner);
  boxes.SetOwner(nullptr);
  ShowAnswered(boxes, "not owned", "", mb::kOk, IDOK);
  EXPECT_EQ(seen.owner, nullptr);
  DestroyWindow(owner);
}

struct Counter {
  int dispatched = 0;
};

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    ++reinterpret_cast<Counter*>(lParam)->dispatched;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(RealMessageLoop, YieldDispatchesWhatIsPendingAndKeepsAQuitRequest) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VtqYieldTest";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "VtqYieldTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Counter counter;
  Win32MessageLoop loop;
  for (int i = 0; i < 3; ++i)
    PostMessageA(window, WM_APP, 0, reinterpret_cast<LPARAM>(&counter));
  loop.Yield();
  EXPECT_EQ(counter.dispatched, 3);

  PostQuitMessage(7);
  PostMessageA(window, WM_APP, 0, reinterpret_cast<LPARAM>(&counter));
  loop.Yield();
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  DestroyWindow(window);
}

}  // namespace
}  // namespace vtq
