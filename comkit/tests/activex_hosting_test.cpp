// The test control in a real container: Wine's atl.dll host sites it,
// activates it in place, resizes it with its window and loads it from a
// stream. The control keeps its fixed size in twips, draws its caption in
// its window and reloads the state it saved.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <vector>

#include "base/win/handles.h"
#include "base/win/restore_guards.h"
#include "comkit/control_extent.h"
#include "comkit/tests/test_control_server.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;
using testing::kHimetric;
using testing::kTwips;
using testing::TestControlServer;

using AxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

constexpr wchar_t kHostClass[] = L"ComkitTestHostWindow";

// A host window that does nothing of its own: atl.dll subclasses it.
struct HostWindow {
  explicit HostWindow(SIZE size) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    type.lpszClassName = kHostClass;
    RegisterClassExW(&type);
    handle = CreateWindowExW(0, kHostClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostWindow() {
    if (IsWindow(handle))
      DestroyWindow(handle);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND handle;
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

ComPtr<IStream> NewStream(const std::vector<BYTE>& bytes = {}) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  if (!bytes.empty())
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

std::vector<BYTE> ContentsOf(IStream* stream) {
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream, &memory);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(memory));
  std::vector<BYTE> contents(bytes, bytes + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return contents;
}

class ActiveXHostingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialised());
    ASSERT_TRUE(server_.Loaded());
    atl_.Reset(LoadLibraryW(L"atl.dll"));
    ASSERT_TRUE(atl_) << "Wine's atl.dll";
    create_ = reinterpret_cast<AxCreateControl>(
        reinterpret_cast<void*>(GetProcAddress(atl_.Get(), "AtlAxCreateControl")));
    get_ = reinterpret_cast<AxGetControl>(
        reinterpret_cast<void*>(GetProcAddress(atl_.Get(), "AtlAxGetControl")));
    ASSERT_TRUE(create_ && get_);
    // The container creates the control by its class, as from the
    // registry, but from the DLL the test loaded.
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestControl, server_.Factory(), CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &registration_),
              S_OK);
    StringFromGUID2(CLSID_TestControl, name_, 40);
    SetCursorPos(1000, 700);  // no hover ring over the caption
  }
  void TearDown() override {
    if (registration_)
      CoRevokeClassObject(registration_);
  }

  // The control the host made in `host`, by `riid`.
  template <class Interface>
  ComPtr<Interface> Create(HWND host, IStream* stream, REFIID riid) {
    ComPtr<IUnknown> container, control;
    ComPtr<Interface> wanted;
    EXPECT_EQ(create_(name_, host, stream, &container), S_OK);
    EXPECT_EQ(get_(host, &control), S_OK);
    if (control)
      control->QueryInterface(riid, reinterpret_cast<void**>(wanted.GetAddressOf()));
    Pump();
    return wanted;
  }

  static HWND WindowOf(IUnknown* control) {
    ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, &inPlace)))
      inPlace->GetWindow(&window);
    return window;
  }

  const base::win::ScopedOle ole_;
  TestControlServer server_;
  base::win::LoadedModule atl_;
  AxCreateControl create_ = nullptr;
  AxGetControl get_ = nullptr;
  DWORD registration_ = 0;
  wchar_t name_[40] = {};
};

TEST_F(ActiveXHostingTest, KeepsItsFixedSizeWhateverSizeTheHostWindowTakes) {
  const SIZE fixed = TwipsToPixels(kTwips, ScreenDpi());
  {
    HostWindow host({400, 300});
    auto object = Create<IOleObject>(host.handle, nullptr, IID_IOleObject);
    ASSERT_TRUE(object);
    const HWND window = WindowOf(object.Get());
    ASSERT_TRUE(IsWindow(window)) << "activated in place with a window of its own";
    EXPECT_EQ(GetParent(window), host.handle);
    EXPECT_TRUE(IsWindowVisible(window));
    for (SIZE hostSize : {SIZE{400, 300}, SIZE{640, 480}, SIZE{60, 20}, SIZE{1, 1}, fixed}) {
      SetWindowPos(host.handle, nullptr, 0, 0, hostSize.cx, hostSize.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      Pump();
      const SIZE size = ClientSize(window);
      EXPECT_EQ(size.cx, fixed.cx) << "host " << hostSize.cx << "x" << hostSize.cy;
      EXPECT_EQ(size.cy, fixed.cy) << "host " << hostSize.cx << "x" << hostSize.cy;
      SIZEL extent = {};
      ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
      EXPECT_EQ(extent.cx, kHimetric.cx);
      EXPECT_EQ(extent.cy, kHimetric.cy);
    }
    RECT placed = {};
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, host.handle, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
  }
  Pump();
  // The host let the control go with its window.
  TearDown();
  registration_ = 0;
  server_.ReleaseFactory();
  EXPECT_TRUE(server_.CanUnload());
}

TEST_F(ActiveXHostingTest, DrawsItsCaptionInItsWindow) {
  HostWindow host({300, 100});
  auto object = Create<IOleObject>(host.handle, nullptr, IID_IOleObject);
  ASSERT_TRUE(object);
  const HWND window = WindowOf(object.Get());
  ASSERT_TRUE(IsWindow(window));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  const SIZE size = ClientSize(window);
  // What the screen shows of the window.
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  base::win::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
  int ink = 0, face = 0;
  {
    base::win::ScopedSelectObject selected(memory, bitmap.Get());
    BitBlt(memory, 0, 0, size.cx, size.cy, screen, 0, 0, SRCCOPY);
    for (int y = 0; y < size.cy; ++y) {
      for (int x = 0; x < size.cx; ++x) {
        const COLORREF pixel = GetPixel(memory, x, y);
        ink += pixel == GetSysColor(COLOR_BTNTEXT);
        face += pixel == GetSysColor(COLOR_BTNFACE);
      }
    }
  }
  DeleteDC(memory);
  ReleaseDC(window, screen);
  EXPECT_GT(ink, 100) << "the caption's letters";
  EXPECT_GT(face, size.cx * size.cy / 2) << "on the button face";
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Quorvelle ActiveVantrelloquin");
}

TEST_F(ActiveXHostingTest, TheHostLoadsTheStateTheControlSaved) {
  ComPtr<IStream> saved = NewStream();
  {
    HostWindow host({200, 200});
    auto persist = Create<IPersistStreamInit>(host.handle, nullptr, IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE) << "the host called InitNew";
    ASSERT_EQ(persist->Save(saved.Get(), TRUE), S_OK);
  }
  Pump();
  const std::vector<BYTE> bytes = ContentsOf(saved.Get());
  ASSERT_EQ(bytes.size(), 16u);

  {
    HostWindow host({200, 200});
    auto persist =
        Create<IPersistStreamInit>(host.handle, NewStream(bytes).Get(), IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    auto again = NewStream();
    ASSERT_EQ(persist->Save(again.Get(), TRUE), S_OK);
    EXPECT_EQ(ContentsOf(again.Get()), bytes);
  }
  Pump();

  // A stream with another extent: the host really loaded it (the control is
  // dirty), and the window has the fixed size all the same.
  std::vector<BYTE> other = bytes;
  other[8] = 0x10;
  other[9] = 0x27;  // 10,000 HIMETRIC wide
  {
    HostWindow host({400, 400});
    auto persist =
        Create<IPersistStreamInit>(host.handle, NewStream(other).Get(), IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    const SIZE size = ClientSize(WindowOf(persist.Get()));
    const SIZE fixed = TwipsToPixels(kTwips, ScreenDpi());
    EXPECT_EQ(size.cx, fixed.cx);
    EXPECT_EQ(size.cy, fixed.cy);
  }
  Pump();

  // A hostile stream: the load fails, the control carries on as new.
  {
    HostWindow host({400, 400});
    auto persist = Create<IPersistStreamInit>(
        host.handle, NewStream({'V', 'X', 'C', 'S', 1, 0, 0xFF, 0xFF, 1}).Get(),
        IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    EXPECT_TRUE(IsWindow(WindowOf(persist.Get())));
  }
  Pump();
}

}  // namespace
}  // namespace vtq::comkit
