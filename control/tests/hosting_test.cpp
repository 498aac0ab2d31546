// Marrowgate in a real container: Wine's atl.dll creates it from the built
// Marrowgate32.ocx, sites it and activates it in place. It keeps 2,250 x
// 570 twips whatever its host does, draws its caption, reloads what it
// saved, and raises its own objects' events while the container lets it.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <vector>

#include "comkit/control_extent.h"
#include "comkit/tests/atl_container.h"
#include "control/registration.h"
#include "control/tests/control_test_support.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/scratch.h"

namespace vtq::control::test {
namespace {

using comkit::testing::AtlContainer;
using comkit::testing::ClientSize;
using comkit::testing::ContentsOf;
using comkit::testing::ExpectCaptionDrawn;
using comkit::testing::HostWindow;
using comkit::testing::NewStream;
using comkit::testing::Pump;
using comkit::testing::WindowOf;
using vtq::test::PatternBytes;
using vtq::test::ScratchDir;
using vtq::test::WriteBytes;

constexpr SIZE kTwips = {2250, 570};
constexpr SIZEL kHimetric = {3969, 1005};  // 2,250 x 570 twips at 2,540 / 1,440
enum : DISPID { kStart = 1, kInterval = 2 };

class MarrowgateHosting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialised());
    ASSERT_TRUE(library_.Loaded());
    ASSERT_TRUE(atl_.Loaded()) << "Wine's atl.dll";
    // The container creates the control by its class, from the library
    // the test loaded rather than from the registry.
    ComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(library_.Factory(CLSID_Marrowgate, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(CoRegisterClassObject(CLSID_Marrowgate, factory.Get(), CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &registration_),
              S_OK);
    SetCursorPos(1000, 700);  // no hover ring over the caption
  }
  void TearDown() override {
    if (registration_)
      CoRevokeClassObject(registration_);
  }

  template <class Interface>
  ComPtr<Interface> Create(HWND host, IStream* stream = nullptr) {
    return atl_.Create<Interface>(CLSID_Marrowgate, host, stream, __uuidof(Interface));
  }

  const base::win::ScopedOle ole_;
  Library library_;
  AtlContainer atl_;
  DWORD registration_ = 0;
};

TEST_F(MarrowgateHosting, KeepsTwoThousandTwoHundredFiftyBy570TwipsWhateverItIsGiven) {
  const SIZE fixed = comkit::TwipsToPixels(kTwips, comkit::ScreenDpi());
  HostWindow host({400, 300});
  auto object = Create<IOleObject>(host.handle);
  ASSERT_TRUE(object);
  const HWND window = WindowOf(object.Get());
  ASSERT_TRUE(IsWindow(window)) << "activated in place with a window of its own";
  EXPECT_EQ(GetParent(window), host.handle);
  DWORD status = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, kMarrowgateMiscStatus);

  for (SIZE hostSize : {SIZE{640, 480}, SIZE{60, 20}, SIZE{1, 1}, fixed, SIZE{2000, 900}}) {
    SetWindowPos(host.handle, nullptr, 0, 0, hostSize.cx, hostSize.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const SIZE size = ClientSize(window);
    EXPECT_EQ(size.cx, fixed.cx) << "host " << hostSize.cx << "x" << hostSize.cy;
    EXPECT_EQ(size.cy, fixed.cy) << "host " << hostSize.cx << "x" << hostSize.cy;
  }
  // A container asking for another extent is refused and told the real one.
  SIZEL asked = {10000, 200};
  EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &asked), E_FAIL);
  SIZEL extent = {};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, kHimetric.cx);
  EXPECT_EQ(extent.cy, kHimetric.cy);
}

TEST_F(MarrowgateHosting, DrawsItsCaptionOnTheButtonFace) {
  HostWindow host({300, 100});
  auto object = Create<IOleObject>(host.handle);
  const HWND window = WindowOf(object.Get());
  ASSERT_TRUE(IsWindow(window));
  ExpectCaptionDrawn(window, L"Quorvelle ActiveVantrelloquin");
}

TEST_F(MarrowgateHosting, TheHostReloadsWhatTheControlSavedAndAHostileStreamLeavesItNew) {
  ComPtr<IStream> saved = NewStream();
  {
    HostWindow host({200, 200});
    auto persist = Create<IPersistStreamInit>(host.handle);
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE) << "the host called InitNew";
    CLSID clsid = {};
    ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Marrowgate);
    ASSERT_EQ(persist->Save(saved.Get(), TRUE), S_OK);
  }
  Pump();
  const std::vector<BYTE> bytes = ContentsOf(saved.Get());
  ASSERT_FALSE(bytes.empty());
  {
    HostWindow host({500, 500});
    auto persist = Create<IPersistStreamInit>(host.handle, NewStream(bytes).Get());
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    auto again = NewStream();
    ASSERT_EQ(persist->Save(again.Get(), TRUE), S_OK);
    EXPECT_EQ(ContentsOf(again.Get()), bytes);
  }
  Pump();
  {
    HostWindow host({400, 400});
    auto persist = Create<IPersistStreamInit>(host.handle, NewStream({1, 2, 3}).Get());
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    EXPECT_TRUE(IsWindow(WindowOf(persist.Get())));
  }
  Pump();
}

TEST_F(MarrowgateHosting, ASplitThroughTheHostedControlRaisesStartAndIntervalUnlessFrozen) {
  ScratchDir in, out;
  WriteBytes(in / "data.bin", PatternBytes(25000));
  HostWindow host({300, 100});
  auto control = Create<_Marrowgate>(host.handle);
  ASSERT_TRUE(control);
  ComPtr<_ActiveSplitter> splitter;
  ASSERT_HRESULT_SUCCEEDED(control->get_ActiveSplitter(&splitter));
  ComPtr<::FileList> files;
  short added = -1;
  ASSERT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
  ASSERT_HRESULT_SUCCEEDED(files->Add(Bstr(in / "data.bin"), &added));
  ASSERT_HRESULT_SUCCEEDED(splitter->put_DestinationFolder(Bstr(out.Path())));
  auto size = static_cast<::AftFileSize>(10240);
  ASSERT_HRESULT_SUCCEEDED(splitter->put_FragmentSize(&size));
  auto sink = RecordingSink::AdvisedOn(control.Get(), DIID___Marrowgate);

  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  const std::vector<DISPID> expected = {kStart, kInterval, kInterval, kInterval, kInterval};
  EXPECT_EQ(sink->Events(), expected);
  ASSERT_EQ(sink->received.size(), expected.size());
  EXPECT_EQ(sink->received.front().types, std::vector<VARTYPE>{VT_I4});
  EXPECT_EQ(sink->received.front().values, std::vector<long>{40960});
  EXPECT_EQ(sink->received.back().values, std::vector<long>{40960});

  // A container in design mode, say, freezes events: the split runs, the
  // control stays silent, and speaks again when thawed.
  ComPtr<IOleControl> oleControl;
  ASSERT_HRESULT_SUCCEEDED(control.As(&oleControl));
  sink->received.clear();
  ASSERT_EQ(oleControl->FreezeEvents(TRUE), S_OK);
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_TRUE(sink->received.empty());
  EXPECT_TRUE(FileExists(out / "data.003"));
  ASSERT_EQ(oleControl->FreezeEvents(FALSE), S_OK);
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_EQ(sink->Events(), expected);
}

}  // namespace
}  // namespace vtq::control::test
