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
#include "comkit/tests/atl_container.h"
#include "comkit/tests/test_control_server.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;
using testing::AtlContainer;
using testing::ClientSize;
using testing::ContentsOf;
using testing::ExpectCaptionDrawn;
using testing::HostWindow;
using testing::kHimetric;
using testing::kTwips;
using testing::NewStream;
using testing::Pump;
using testing::TestControlServer;
using testing::WindowOf;

class ActiveXHostingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialised());
    ASSERT_TRUE(server_.Loaded());
    ASSERT_TRUE(atl_.Loaded()) << "Wine's atl.dll";
    // The container creates the control by its class, as from the
    // registry, but from the DLL the test loaded.
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestControl, server_.Factory(), CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &registration_),
              S_OK);
    SetCursorPos(1000, 700);  // no hover ring over the caption
  }
  void TearDown() override {
    if (registration_)
      CoRevokeClassObject(registration_);
  }

  // The control the host made in `host`, by `riid`.
  template <class Interface>
  ComPtr<Interface> Create(HWND host, IStream* stream, REFIID riid) {
    return atl_.Create<Interface>(CLSID_TestControl, host, stream, riid);
  }

  const base::win::ScopedOle ole_;
  TestControlServer server_;
  AtlContainer atl_;
  DWORD registration_ = 0;
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
  ExpectCaptionDrawn(window, L"Quorvelle ActiveVantrelloquin");
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
