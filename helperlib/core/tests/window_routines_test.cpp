// Window positions, anchors, centring and painting on real windows (under
// an X server), with the registry in a sandbox.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/tests/win/support/registry_sandbox.h"
#include "helperlib/core/window_paint.h"
#include "helperlib/core/window_place.h"

namespace orrin {
namespace {

class Window {
 public:
  explicit Window(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND parent = nullptr)
      : hwnd_(CreateWindowExW(0, L"STATIC", L"orrin test", style, 50, 60, 300, 200, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~Window() {
    if (hwnd_)
      DestroyWindow(hwnd_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND Get() const { return hwnd_; }
  RECT Rect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
  }

 private:
  HWND hwnd_;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class WindowRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Get());
    ASSERT_TRUE(area_);
  }
  vtq::test::RegistrySandbox sandbox_;
  Registry reg_;
  Window window_;
  std::optional<RECT> area_ = DesktopWorkArea();
  const std::wstring key_ = L"Software\\Test\\Windows\\Main";
};

TEST_F(WindowRoutinesTest, PositionSavedUnderTheKeysNameAndLoadedBack) {
  ASSERT_TRUE(SetWindowPos(window_.Get(), nullptr, 70, 80, 320, 240, SWP_NOZORDER));
  ASSERT_TRUE(SaveWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_));
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main top"), 80);
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main left"), 70);
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main width"), 320);
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main height"), 240);
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main state"), 0);
  SetWindowPos(window_.Get(), nullptr, 5, 5, 100, 100, SWP_NOZORDER);
  EXPECT_TRUE(LoadWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_, Anchor::kNoChange));
  const RECT rect = window_.Rect();
  EXPECT_EQ(rect.left, 70);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
}

TEST_F(WindowRoutinesTest, MaximisedWindowKeepsItsRestoredPlace) {
  ASSERT_TRUE(SetWindowPos(window_.Get(), nullptr, 70, 80, 320, 240, SWP_NOZORDER));
  ShowWindow(window_.Get(), SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(IsZoomed(window_.Get()));
  ASSERT_TRUE(SaveWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_));
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main state"), 2);
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, key_, L"Main width"), 320);
  ShowWindow(window_.Get(), SW_RESTORE);
  SetWindowPos(window_.Get(), nullptr, 5, 5, 100, 100, SWP_NOZORDER);
  EXPECT_TRUE(LoadWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_, Anchor::kNoChange));
  Pump();
  EXPECT_TRUE(IsZoomed(window_.Get()));
  ShowWindow(window_.Get(), SW_RESTORE);
  EXPECT_EQ(window_.Rect().left, 70);
  EXPECT_EQ(window_.Rect().right - window_.Rect().left, 320);
}

TEST_F(WindowRoutinesTest, NothingStoredOrOffScreenUsesTheDefaultPosition) {
  EXPECT_FALSE(
      LoadWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_, Anchor::kBottomRight));
  EXPECT_EQ(window_.Rect().right, area_->right);
  EXPECT_EQ(window_.Rect().bottom, area_->bottom);
  EXPECT_EQ(window_.Rect().right - window_.Rect().left, 300);  // size kept
  // A place on a monitor that is no longer there.
  ASSERT_TRUE(SaveWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_));
  reg_.SetNumber(HKEY_CURRENT_USER, key_, L"Main left", 30000);
  reg_.SetNumber(HKEY_CURRENT_USER, key_, L"Main top", 30000);
  EXPECT_FALSE(LoadWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_, Anchor::kTopLeft));
  EXPECT_EQ(window_.Rect().left, area_->left);
  EXPECT_EQ(window_.Rect().top, area_->top);
  // A width of zero is no position either.
  ASSERT_TRUE(SaveWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_));
  reg_.SetNumber(HKEY_CURRENT_USER, key_, L"Main width", 0);
  EXPECT_FALSE(LoadWindowPosition(reg_, window_.Get(), HKEY_CURRENT_USER, key_, Anchor::kCenter));
}

TEST_F(WindowRoutinesTest, AnchorsMoveWithoutResizing) {
  ASSERT_TRUE(MoveToAnchor(window_.Get(), Anchor::kTopRight));
  EXPECT_EQ(window_.Rect().right, area_->right);
  EXPECT_EQ(window_.Rect().top, area_->top);
  ASSERT_TRUE(MoveToAnchor(window_.Get(), Anchor::kCenter));
  const RECT rect = window_.Rect();
  EXPECT_EQ(rect.left, area_->left + (area_->right - area_->left - 300) / 2);
  EXPECT_EQ(rect.top, area_->top + (area_->bottom - area_->top - 200) / 2);
  EXPECT_TRUE(MoveToAnchor(window_.Get(), Anchor::kNoChange));
  EXPECT_EQ(window_.Rect().left, rect.left);
  EXPECT_FALSE(MoveToAnchor(nullptr, Anchor::kCenter));
}

TEST_F(WindowRoutinesTest, ChildCentredInItsParentsClientArea) {
  Window child(WS_CHILD | WS_VISIBLE, window_.Get());
  ASSERT_TRUE(child.Get());
  SetWindowPos(child.Get(), nullptr, 0, 0, 100, 50, SWP_NOZORDER);
  ASSERT_TRUE(CenterOver(child.Get(), window_.Get()));
  RECT client{};
  GetClientRect(window_.Get(), &client);
  POINT origin{0, 0};
  RECT rect = child.Rect();
  MapWindowPoints(nullptr, window_.Get(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, (client.right - 100) / 2);
  EXPECT_EQ(rect.top, (client.bottom - 50) / 2);
  (void)origin;
}

TEST_F(WindowRoutinesTest, GradientBandsFromTopToBottomColour) {
  SetWindowPos(window_.Get(), HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
  Pump();
  ASSERT_TRUE(FillGradient(window_.Get(), RGB(255, 0, 0), RGB(0, 0, 255), 10));
  HDC dc = GetDC(window_.Get());
  RECT client{};
  GetClientRect(window_.Get(), &client);
  const COLORREF top = GetPixel(dc, 5, 2);
  const COLORREF bottom = GetPixel(dc, 5, client.bottom - 2);
  const COLORREF middle = GetPixel(dc, 5, client.bottom / 2);
  ReleaseDC(window_.Get(), dc);
  EXPECT_EQ(top, RGB(255, 0, 0));
  EXPECT_EQ(bottom, RGB(0, 0, 255));
  EXPECT_GT(GetRValue(middle), 0);
  EXPECT_GT(GetBValue(middle), 0);
  // A band height of 0 is taken as 1 rather than never ending.
  EXPECT_TRUE(FillGradient(window_.Get(), RGB(0, 0, 0), RGB(255, 255, 255), 0));
  EXPECT_FALSE(FillGradient(nullptr, 0, 0, 1));
}

}  // namespace
}  // namespace orrin
