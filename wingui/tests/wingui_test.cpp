// The window foundation under Wine: binding and destroy order of windows
// and dialogs, the barrier of their procedures, colouring and its exemptions, lamps, typed helpers,
// and the file drop target's COM contract.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/restore_guards.h"
#include "base/win/window_barrier.h"
#include "wingui/colouring.h"
#include "wingui/controls.h"
#include "wingui/dialog.h"
#include "wingui/file_drop_target.h"
#include "wingui/lamp.h"
#include "wingui/tests/file_drop_data.h"
#include "wingui/window.h"

namespace vtq::wingui {
namespace {

// A window of our own class that records what reached it.
class RecordingWindow final : public Window {
 public:
  explicit RecordingWindow(std::vector<std::string>& log) : log_(log) {}
  ~RecordingWindow() override { log_.push_back("object gone"); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) {
      log_.push_back(FromHwnd(Hwnd()) == this ? "app, bound" : "app, unbound");
      return 42;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }
  void OnDestroy() override { log_.push_back(HasChild() ? "destroy, with children" : "destroy"); }
  void OnFinalMessage() override { log_.push_back(Hwnd() ? "final, still bound" : "final"); }

 private:
  bool HasChild() const { return GetWindow(Hwnd(), GW_CHILD) != nullptr; }
  std::vector<std::string>& log_;
};

TEST(WindowBinding, ObjectIsFoundFromItsHwndUntilTheLastMessage) {
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqRecordingWindow"));
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqRecordingWindow"));
  std::vector<std::string> log;
  RecordingWindow window(log);
  ASSERT_TRUE(window.Create({.className = L"VtqRecordingWindow", .style = WS_POPUP}));
  HWND hwnd = window.Hwnd();
  CreateWindowExW(0, L"STATIC", L"child", WS_CHILD, 0, 0, 5, 5, hwnd, nullptr, nullptr, nullptr);
  EXPECT_EQ(Window::FromHwnd(hwnd), &window);
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 42);
  DestroyWindow(hwnd);
  EXPECT_EQ(window.Hwnd(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"app, bound", "destroy, with children", "final"}));
  EXPECT_EQ(Window::FromHwnd(hwnd), nullptr);
  // A window that is not ours is never taken for one of ours.
  EXPECT_EQ(Window::FromHwnd(GetDesktopWindow()), nullptr);
}

TEST(WindowBinding, AnObjectThatGoesFirstDestroysItsWindow) {
  std::vector<std::string> log;
  HWND hwnd = nullptr;
  {
    RecordingWindow window(log);
    ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqRecordingWindow"));
    ASSERT_TRUE(window.Create({.className = L"VtqRecordingWindow", .style = WS_POPUP}));
    hwnd = window.Hwnd();
  }
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(log, std::vector<std::string>{"object gone"});
}

// The failures that reached the program's report, by what was thrown.
struct FailureLog {
  std::vector<std::string> seen;
  base::win::ScopedWindowFailureReport report{[this](HWND, std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
      seen.push_back("bad_alloc");
    } catch (const std::exception& e) {
      seen.push_back(e.what());
    }
    if (onReport)
      onReport();
  }};
  std::function<void()> onReport;
};

enum : UINT { kThrowMemory = WM_APP + 1, kThrowLogic, kAnswer };

// A window whose handlers throw on request.
class ThrowingWindow final : public Window {
 public:
  bool throwOnCreate = false;
  bool throwOnDestroy = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE && throwOnCreate)
      throw std::runtime_error("create");
    if (message == kThrowMemory)
      throw std::bad_alloc();
    if (message == kThrowLogic)
      throw std::logic_error("logic");
    if (message == kAnswer)
      return 42;
    return Window::HandleMessage(message, wParam, lParam);
  }
  void OnDestroy() override {
    if (throwOnDestroy)
      throw std::runtime_error("destroy");
  }
};

TEST(ProcedureBarrier, AThrowingHandlerGetsTheDefaultAnswerAndOneReport) {
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqThrowingWindow"));
  FailureLog log;
  ThrowingWindow window;
  ASSERT_TRUE(window.Create({.className = L"VtqThrowingWindow", .style = WS_POPUP}));
  EXPECT_EQ(SendMessageW(window.Hwnd(), kThrowMemory, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.Hwnd(), kThrowLogic, 0, 0), 0);
  EXPECT_EQ(log.seen, (std::vector<std::string>{"bad_alloc", "logic"}));
  // The window goes on answering, and goes away unbound even when its
  // destroy handler throws.
  EXPECT_EQ(SendMessageW(window.Hwnd(), kAnswer, 0, 0), 42);
  window.throwOnDestroy = true;
  HWND hwnd = window.Hwnd();
  DestroyWindow(hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window.Hwnd(), nullptr);
  EXPECT_EQ(log.seen.back(), "destroy");
}

TEST(ProcedureBarrier, AWindowWhoseCreationThrowsIsNotCreated) {
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqThrowingWindow"));
  FailureLog log;
  ThrowingWindow window;
  window.throwOnCreate = true;
  EXPECT_FALSE(window.Create({.className = L"VtqThrowingWindow", .style = WS_POPUP}));
  EXPECT_EQ(window.Hwnd(), nullptr);
  EXPECT_EQ(log.seen, std::vector<std::string>{"create"});
}

TEST(ProcedureBarrier, AFailureWhileTheReportShowsIsAnsweredWithoutASecondReport) {
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqThrowingWindow"));
  FailureLog log;
  ThrowingWindow window;
  ASSERT_TRUE(window.Create({.className = L"VtqThrowingWindow", .style = WS_POPUP}));
  LRESULT inner = -1;
  log.onReport = [&] { inner = SendMessageW(window.Hwnd(), kThrowLogic, 0, 0); };
  SendMessageW(window.Hwnd(), kThrowMemory, 0, 0);
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(log.seen, std::vector<std::string>{"bad_alloc"});
}

TEST(ProcedureBarrier, WithoutAReportAFailureIsOnlyAnswered) {
  ASSERT_TRUE(RegisterWindowClass(GetModuleHandleW(nullptr), L"VtqThrowingWindow"));
  ThrowingWindow window;
  ASSERT_TRUE(window.Create({.className = L"VtqThrowingWindow", .style = WS_POPUP}));
  EXPECT_EQ(SendMessageW(window.Hwnd(), kThrowLogic, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.Hwnd(), kAnswer, 0, 0), 42);
}

// An in-memory dialog template: a label, a check box, an edit, a drop-down
// list, a push button and an owner-drawn static, in that order.
class TemplateBuilder {
 public:
  TemplateBuilder() {
    Add(DLGTEMPLATE{WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 0, 0, 200, 100});
    Word(0), Word(0), Text(L"Test dialog"), Word(8), Text(L"MS Shell Dlg");
  }
  void Control(WORD id, WORD atom, DWORD style, const wchar_t* text) {
    Align();
    Add(DLGITEMTEMPLATE{WS_CHILD | WS_VISIBLE | style, 0, 5, 5, 60, 12, id});
    Word(0xFFFF), Word(atom), Text(text), Word(0);
    reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit++;
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  template <class T>
  void Add(const T& value) {
    const auto* p = reinterpret_cast<const char*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof value);
  }
  void Word(WORD w) { Add(w); }
  void Text(const wchar_t* text) {
    for (; *text; ++text)
      Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Align() {
    while (bytes_.size() % 4)
      bytes_.push_back(0);
  }
  std::vector<char> bytes_;
};

enum : WORD { kLabel = 10, kCheck, kEdit, kList, kPush, kLamp };

class TestDialog final : public Dialog {
 public:
  bool Open() {
    TemplateBuilder t;
    t.Control(kLabel, 0x0082, SS_LEFT, L"label");
    t.Control(kCheck, 0x0080, BS_AUTOCHECKBOX, L"check");
    t.Control(kEdit, 0x0081, WS_BORDER, L"edit");
    t.Control(kList, 0x0085, CBS_DROPDOWNLIST, L"");
    t.Control(kPush, 0x0080, BS_PUSHBUTTON, L"push");
    t.Control(kLamp, 0x0082, SS_OWNERDRAW, L"");
    return CreateModeless(GetModuleHandleW(nullptr), t.Get(), nullptr);
  }
  int inits = 0;
  int commands = 0;

 protected:
  bool OnInit() override {
    ++inits;
    return true;
  }
  bool OnCommand(int id, int code, HWND) override {
    if (id == kLabel)
      throw std::runtime_error("command");
    if (id == kPush && code == BN_CLICKED)
      ++commands;
    return id == kPush;
  }
};

class Colouring : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Open());
    hwnd_ = dialog_.Hwnd();
  }
  // What the dialog answers to WM_CTLCOLOR* for a control, and the text
  // colour it set.
  std::pair<HBRUSH, COLORREF> Ask(UINT message, int id) {
    HDC dc = GetDC(hwnd_);
    SetTextColor(dc, RGB(1, 2, 3));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd_, message, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(Item(id))));
    const COLORREF text = GetTextColor(dc);
    ReleaseDC(hwnd_, dc);
    return {brush, text};
  }
  HWND Item(int id) { return GetDlgItem(hwnd_, id); }
  TestDialog dialog_;
  HWND hwnd_ = nullptr;
};

TEST_F(Colouring, DialogIsBoundAtInitAndDestroyedWithItsObject) {
  EXPECT_EQ(dialog_.inits, 1);
  EXPECT_EQ(Dialog::FromHwnd(hwnd_), &dialog_);
  SendMessageW(Item(kPush), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_.commands, 1);
}

TEST_F(Colouring, ACommandThatThrowsIsLeftToTheDialogManagerAndReported) {
  FailureLog log;
  EXPECT_EQ(SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kLabel, 0), 0), FALSE);
  EXPECT_EQ(log.seen, std::vector<std::string>{"command"});
  SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kPush, BN_CLICKED), 0);
  EXPECT_EQ(dialog_.commands, 1);
}

TEST_F(Colouring, LabelsAndBoxesTakeTheColoursEditableControlsDoNot) {
  dialog_.ApplyColours(ColourPair{RGB(0, 0, 0), RGB(0, 255, 0)});
  const auto [labelBrush, labelText] = Ask(WM_CTLCOLORSTATIC, kLabel);
  EXPECT_NE(labelBrush, nullptr);
  EXPECT_EQ(labelText, RGB(0, 255, 0));
  EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, kCheck).second, RGB(0, 255, 0));
  EXPECT_EQ(Ask(WM_CTLCOLORDLG, 0).first, labelBrush);
  // Left alone means the dialog manager's own answer: never our brush or
  // text colour. A read-only or disabled edit asks with WM_CTLCOLORSTATIC.
  for (const auto& [message, id] :
       {std::pair{WM_CTLCOLORSTATIC, kEdit}, std::pair{WM_CTLCOLOREDIT, kEdit},
        std::pair{WM_CTLCOLORSTATIC, kList}}) {
    const auto [brush, text] = Ask(message, id);
    EXPECT_NE(brush, labelBrush) << id;
    EXPECT_NE(text, RGB(0, 255, 0)) << id;
  }

  MarkThemeImmune(Item(kLabel));
  EXPECT_NE(Ask(WM_CTLCOLORSTATIC, kLabel).first, labelBrush);
  EXPECT_NE(Ask(WM_CTLCOLORSTATIC, kLabel).second, RGB(0, 255, 0));
  ForgetThemeImmune(Item(kLabel));
  EXPECT_FALSE(IsThemeImmune(Item(kLabel)));
}

TEST_F(Colouring, SystemLookAnswersNothingAndKeepsNoBrush) {
  dialog_.ApplyColours(ColourPair{RGB(128, 0, 0), RGB(255, 0, 0)});
  const HBRUSH red = Ask(WM_CTLCOLORSTATIC, kLabel).first;
  dialog_.ApplyColours(std::nullopt);
  EXPECT_FALSE(dialog_.Colouring().Colours().has_value());
  EXPECT_NE(Ask(WM_CTLCOLORSTATIC, kLabel).second, RGB(255, 0, 0));
  EXPECT_EQ(GetObjectType(red), 0u);  // the old brush was given back
  EXPECT_EQ(dialog_.Colouring().Background(), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Colouring, StyledButtonsAreCheckBoxesOptionsAndGroupsNotPushButtons) {
  EXPECT_TRUE(IsStyledButton(Item(kCheck)));
  EXPECT_FALSE(IsStyledButton(Item(kPush)));
  EXPECT_FALSE(IsStyledButton(Item(kLabel)));
  EXPECT_TRUE(HoldsEditableText(Item(kEdit)));
  EXPECT_TRUE(HoldsEditableText(Item(kList)));
  EXPECT_FALSE(HoldsEditableText(Item(kCheck)));
}

TEST_F(Colouring, LampKeepsBlackApartFromNoLampAndPaints) {
  EXPECT_FALSE(IsLamp(Item(kLamp)));
  MakeLamp(Item(kLamp), RGB(0, 0, 0));
  EXPECT_TRUE(IsLamp(Item(kLamp)));
  EXPECT_EQ(LampColour(Item(kLamp)), COLORREF{0});
  SetLampColour(Item(kLamp), kLampGreen);
  UpdateWindow(hwnd_);
  EXPECT_EQ(LampColour(Item(kLamp)), COLORREF{65280});
}

TEST_F(Colouring, TypedHelpersReadWhatTheySet) {
  SetText(Item(kEdit), L"Vyle \u00e9");
  EXPECT_EQ(GetText(Item(kEdit)), L"Vyle \u00e9");
  SetChecked(Item(kCheck), true);
  EXPECT_TRUE(IsChecked(Item(kCheck)));
  ComboAdd(Item(kList), L"bytes");
  ComboAdd(Item(kList), L"kb");
  ComboSelect(Item(kList), 1);
  EXPECT_EQ(ComboSelected(Item(kList)), 1);
  EXPECT_EQ(ComboItemText(Item(kList), 0), L"bytes");
  EXPECT_EQ(ComboItemText(Item(kList), 7), L"");
  SetEnabled(Item(kPush), false);
  EXPECT_FALSE(IsEnabled(Item(kPush)));
}

class DropTarget : public ::testing::Test {
 protected:
  base::win::ScopedOle ole_;
  std::vector<std::pair<std::vector<std::wstring>, bool>> calls_;
  base::win::ComRef<IDropTarget> target_ = FileDropTarget::Create(
      [this](const std::vector<std::wstring>& paths, bool dropping) -> DWORD {
        calls_.push_back({paths, dropping});
        return paths.size() == 1 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
      });
};

TEST_F(DropTarget, OneFileIsCopiedTwoFilesAreRefused) {
  test::FileDropData one({L"C:\\tmp\\big.iso"});
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  ASSERT_EQ(target_.Get()->DragEnter(&one, MK_LBUTTON, {10, 10}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target_.Get()->DragOver(MK_LBUTTON, {11, 11}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->Drop(&one, 0, {11, 11}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});

  test::FileDropData two({L"C:\\a b\\x.001", L"C:\\y"});
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->Drop(&two, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});

  ASSERT_EQ(calls_.size(), 3u);
  EXPECT_EQ(calls_[0], std::make_pair(std::vector<std::wstring>{L"C:\\tmp\\big.iso"}, false));
  EXPECT_EQ(calls_[1].second, true);
  EXPECT_EQ(calls_[2].first, (std::vector<std::wstring>{L"C:\\a b\\x.001", L"C:\\y"}));
}

// A dropped name comes through whole: CJK, an emoji (a surrogate pair) and
// a path of more than 300 characters.
TEST_F(DropTarget, ADroppedNameComesThroughWhole) {
  const std::wstring name = L"C:\\" + std::wstring(150, L'\u03A9') + L"\\" +
                            std::wstring(150, L'\u5199') + L"\\party \U0001F389.iso";
  ASSERT_GT(name.size(), 300u);
  test::FileDropData one({name});
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->Drop(&one, 0, {}, &effect), S_OK);
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].first, std::vector<std::wstring>{name});
}

TEST_F(DropTarget, EffectIsLimitedToWhatTheSourceAllows) {
  test::FileDropData one({L"C:\\f"});
  DWORD effect = DROPEFFECT_MOVE;
  ASSERT_EQ(target_.Get()->DragEnter(&one, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
}

TEST_F(DropTarget, DataWithoutFilesGetsNoEffectAndNoCall) {
  test::FileDropData text({L"C:\\f"}, false);
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->DragEnter(&text, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->DragOver(0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  ASSERT_EQ(target_.Get()->DragLeave(), S_OK);
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target_.Get()->Drop(&text, 0, {}, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(text.dataHandedOut, 0);
}

TEST_F(DropTarget, ComContract) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(target_.Get()->QueryInterface(IID_IDropTarget, nullptr), E_POINTER);
  EXPECT_EQ(target_.Get()->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(target_.Get()->QueryInterface(IID_IUnknown, &object), S_OK);
  EXPECT_EQ(object, static_cast<void*>(target_.Get()));
  EXPECT_EQ(static_cast<IUnknown*>(object)->Release(), 1u);
  EXPECT_EQ(target_.Get()->AddRef(), 2u);
  EXPECT_EQ(target_.Get()->Release(), 1u);

  test::FileDropData one({L"C:\\f"});
  EXPECT_EQ(target_.Get()->DragEnter(&one, 0, {}, nullptr), E_INVALIDARG);
  EXPECT_EQ(target_.Get()->DragOver(0, {}, nullptr), E_INVALIDARG);
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target_.Get()->Drop(nullptr, 0, {}, &effect), E_INVALIDARG);
  EXPECT_EQ(one.references, 1u);
}

TEST_F(DropTarget, RegistrationIsRevokedWhenTheGuardGoes) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  {
    DropRegistration registration(window, target_.Get());
    EXPECT_EQ(registration.Result(), S_OK);
    EXPECT_EQ(RegisterDragDrop(window, target_.Get()), DRAGDROP_E_ALREADYREGISTERED);
  }
  EXPECT_EQ(RegisterDragDrop(window, target_.Get()), S_OK);
  EXPECT_EQ(RevokeDragDrop(window), S_OK);
  DestroyWindow(window);
}

}  // namespace
}  // namespace vtq::wingui
