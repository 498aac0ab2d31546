// The ActiveX control base called directly, as a form container calls it:
// which interfaces it answers and how, the fixed extent against every
// attempt to change it, the caption drawn into a device context, the class
// information, persistence and reference counts back to zero.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <objsafe.h>

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
using testing::kMiscStatus;
using testing::kTwips;
using testing::TestControlServer;

class ActiveXControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialised());
    ASSERT_TRUE(server_.Loaded()) << "comkit_test_control.dll beside the tests";
  }
  template <class Interface>
  ComPtr<Interface> NewControl(REFIID riid) {
    return server_.Create<Interface>(riid);
  }

  const base::win::ScopedOle ole_;
  TestControlServer server_;
};

ComPtr<IUnknown> IdentityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  object->QueryInterface(IID_IUnknown, &identity);
  return identity;
}

// A sink of the test control's events that counts them and sets Cancel.
class EventSink final : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___TestControl)
      *out = static_cast<IDispatch*>(this);
    if (!*out)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    events.push_back(member);
    if (member == 1 && params->cArgs == 2 && V_VT(&params->rgvarg[0]) == (VT_BOOL | VT_BYREF))
      *V_BOOLREF(&params->rgvarg[0]) = VARIANT_TRUE;
    return S_OK;
  }
  ULONG refs = 1;
  std::vector<DISPID> events;
};

TEST_F(ActiveXControlTest, AnswersTheContainerInterfacesWithOneIdentityAndNoSafetyClaim) {
  auto control = NewControl<IUnknown>(IID_IUnknown);
  ASSERT_TRUE(control);
  const IID answered[] = {IID_IDispatch,          IID__TestControl,
                          IID_ISupportErrorInfo,  IID_IConnectionPointContainer,
                          IID_IOleObject,         IID_IOleInPlaceObject,
                          IID_IOleWindow,         IID_IOleInPlaceActiveObject,
                          IID_IViewObject,        IID_IViewObject2,
                          IID_IPersist,           IID_IPersistStream,
                          IID_IPersistStreamInit, IID_IOleControl,
                          IID_IProvideClassInfo,  IID_IProvideClassInfo2};
  for (const IID& iid : answered) {
    ComPtr<IUnknown> part;
    ASSERT_EQ(control->QueryInterface(iid, reinterpret_cast<void**>(part.GetAddressOf())), S_OK);
    EXPECT_EQ(IdentityOf(part.Get()).Get(), control.Get()) << "one identity for every interface";
    // Every interface reaches every other.
    ComPtr<IOleObject> back;
    EXPECT_EQ(part->QueryInterface(IID_IOleObject, &back), S_OK);
  }
  const IID refused[] = {IID_IObjectSafety, IID_IQuickActivate, IID_IPersistPropertyBag,
                         IID_IDataObject, IID_IOleInPlaceObjectWindowless};
  for (const IID& iid : refused) {
    void* part = reinterpret_cast<void*>(1);
    EXPECT_EQ(control->QueryInterface(iid, &part), E_NOINTERFACE);
    EXPECT_EQ(part, nullptr);
  }
  EXPECT_EQ(control->QueryInterface(IID_IOleObject, nullptr), E_POINTER);
}

TEST_F(ActiveXControlTest, TheExtentStaysFixedWhateverIsAsked) {
  auto object = NewControl<IOleObject>(IID_IOleObject);
  ASSERT_TRUE(object);
  SIZEL extent = {};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, kHimetric.cx);
  EXPECT_EQ(extent.cy, kHimetric.cy);
  for (SIZEL asked : {SIZEL{1000, 1000}, SIZEL{0, 0}, SIZEL{-5, 7}, SIZEL{3969, 1005}}) {
    EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &asked), E_FAIL);
    SIZEL after = {};
    ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &after), S_OK);
    EXPECT_EQ(after.cx, kHimetric.cx);
    EXPECT_EQ(after.cy, kHimetric.cy);
  }
  EXPECT_EQ(object->SetExtent(DVASPECT_ICON, &extent), DV_E_DVASPECT);
  EXPECT_EQ(object->GetExtent(DVASPECT_ICON, &extent), DV_E_DVASPECT);
  EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, nullptr), E_POINTER);
  EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, nullptr), E_POINTER);

  ComPtr<IViewObject2> view;
  ASSERT_EQ(object.As(&view), S_OK);
  SIZEL viewed = {};
  ASSERT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &viewed), S_OK);
  EXPECT_EQ(viewed.cx, kHimetric.cx);
  EXPECT_EQ(viewed.cy, kHimetric.cy);
  EXPECT_EQ(view->GetExtent(DVASPECT_THUMBNAIL, -1, nullptr, &viewed), DV_E_DVASPECT);
  EXPECT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, nullptr), E_POINTER);
}

TEST_F(ActiveXControlTest, ReportsItsMiscStatusClassAndControlInfo) {
  auto object = NewControl<IOleObject>(IID_IOleObject);
  ASSERT_TRUE(object);
  DWORD status = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, kMiscStatus);
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, nullptr), E_POINTER);
  CLSID clsid = {};
  ASSERT_EQ(object->GetUserClassID(&clsid), S_OK);
  EXPECT_TRUE(clsid == CLSID_TestControl);

  ComPtr<IOleControl> control;
  ASSERT_EQ(object.As(&control), S_OK);
  CONTROLINFO info;
  FillMemory(&info, sizeof info, 0xCD);
  ASSERT_EQ(control->GetControlInfo(&info), S_OK);
  EXPECT_EQ(info.cb, sizeof(CONTROLINFO));
  EXPECT_EQ(info.hAccel, nullptr);
  EXPECT_EQ(info.cAccel, 0);
  EXPECT_EQ(info.dwFlags, 0u);
  EXPECT_EQ(control->GetControlInfo(nullptr), E_POINTER);
  EXPECT_EQ(control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
}

TEST_F(ActiveXControlTest, ClassInfoComesFromTheEmbeddedTypeLibrary) {
  auto info = NewControl<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(info);
  GUID source = {};
  ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(source == DIID___TestControl);
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID + 1, &source), E_INVALIDARG);
  EXPECT_TRUE(source == GUID_NULL);
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr), E_POINTER);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(info->GetClassInfo(&coclass), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(attr->guid == CLSID_TestControl);
  coclass->ReleaseTypeAttr(attr);
  EXPECT_EQ(info->GetClassInfo(nullptr), E_POINTER);
}

// The caption as drawn into a 32-bit bitmap: the box around every pixel
// of the text colour.
struct Drawn {
  RECT ink = {LONG_MAX, LONG_MAX, -1, -1};
  int inkPixels = 0;
};

Drawn DrawInto(IViewObject* view, SIZE size, HRESULT* hr) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  base::win::GdiObject<HBITMAP> bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  Drawn drawn;
  {
    base::win::ScopedSelectObject selected(dc, bitmap.Get());
    const RECTL bounds = {0, 0, size.cx, size.cy};
    *hr = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr,
                     0);
    GdiFlush();
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (LONG y = 0; y < size.cy; ++y) {
      for (LONG x = 0; x < size.cx; ++x) {
        const DWORD p = pixels[y * size.cx + x];
        if (RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) != ink)
          continue;
        ++drawn.inkPixels;
        drawn.ink = {std::min(drawn.ink.left, x), std::min(drawn.ink.top, y),
                     std::max(drawn.ink.right, x + 1), std::max(drawn.ink.bottom, y + 1)};
      }
    }
  }
  DeleteDC(dc);
  return drawn;
}

// How the caption lays out in bold MS Sans Serif `pixels` high: the width
// of its longer line when it breaks between its two words, and one line's
// height.
struct Layout {
  int widestLine;
  int lineHeight;
  int wholeWidth;
};

Layout CaptionLayout(int pixels) {
  LOGFONTW font = {};
  font.lfHeight = -pixels;
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(font.lfFaceName, L"MS Sans Serif");
  base::win::GdiObject<HFONT> handle(CreateFontIndirectW(&font));
  HDC dc = CreateCompatibleDC(nullptr);
  Layout layout = {};
  {
    base::win::ScopedSelectObject selected(dc, handle.Get());
    SIZE first = {}, second = {}, whole = {};
    GetTextExtentPoint32W(dc, L"Quorvelle", 9, &first);
    GetTextExtentPoint32W(dc, L"ActiveVantrelloquin", 19, &second);
    GetTextExtentPoint32W(dc, L"Quorvelle ActiveVantrelloquin", 29, &whole);
    layout = {std::max(first.cx, second.cx), second.cy, whole.cx};
  }
  DeleteDC(dc);
  return layout;
}

TEST_F(ActiveXControlTest, DrawsItsCaptionCentredInTheBoundsItIsGiven) {
  auto view = NewControl<IViewObject2>(IID_IViewObject2);
  ASSERT_TRUE(view);
  HRESULT hr = E_FAIL;
  const SIZE natural = TwipsToPixels(kTwips, {96, 96});
  const Drawn drawn = DrawInto(view.Get(), natural, &hr);
  ASSERT_EQ(hr, S_OK);
  ASSERT_GT(drawn.inkPixels, 100) << "the caption's letters";
  // 8.25 points at 96 pixels per inch are 11 pixels: one line would not
  // fit the control, so the caption takes two, centred as a block.
  const Layout layout = CaptionLayout(11);
  ASSERT_GT(layout.wholeWidth, natural.cx);
  EXPECT_NEAR(drawn.ink.right - drawn.ink.left, layout.widestLine, 3);
  EXPECT_GT(drawn.ink.bottom - drawn.ink.top, layout.lineHeight) << "two lines";
  EXPECT_NEAR(drawn.ink.left, natural.cx - drawn.ink.right, 2) << "centred across";
  EXPECT_NEAR(drawn.ink.top, natural.cy - drawn.ink.bottom, 4) << "centred down";

  // Twice the bounds, twice the letters: the caption keeps its share.
  const Drawn doubled = DrawInto(view.Get(), {natural.cx * 2, natural.cy * 2}, &hr);
  ASSERT_EQ(hr, S_OK);
  EXPECT_NEAR(doubled.ink.right - doubled.ink.left, CaptionLayout(22).widestLine, 4);
}

TEST_F(ActiveXControlTest, DrawRefusesOtherAspectsAndMissingTargets) {
  auto view = NewControl<IViewObject2>(IID_IViewObject2);
  ASSERT_TRUE(view);
  HDC dc = CreateCompatibleDC(nullptr);
  const RECTL bounds = {0, 0, 150, 38};
  EXPECT_EQ(
      view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
      DV_E_DVASPECT);
  EXPECT_EQ(
      view->Draw(DVASPECT_CONTENT, 0, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
      DV_E_LINDEX);
  EXPECT_EQ(
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0),
      E_INVALIDARG);
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr,
                       nullptr, 0),
            E_INVALIDARG);
  DeleteDC(dc);
}

ComPtr<IStream> NewStream() {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  return stream;
}

void Rewind(IStream* stream) {
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
}

TEST_F(ActiveXControlTest, SavesAndLoadsItsStateThroughAStream) {
  auto first = NewControl<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_TRUE(first);
  CLSID clsid = {};
  ASSERT_EQ(first->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(clsid == CLSID_TestControl);
  ASSERT_EQ(first->InitNew(), S_OK);
  EXPECT_EQ(first->IsDirty(), S_FALSE);
  ULARGE_INTEGER size = {};
  ASSERT_EQ(first->GetSizeMax(&size), S_OK);
  EXPECT_EQ(size.QuadPart, 16u);

  auto stream = NewStream();
  ASSERT_EQ(first->Save(stream.Get(), TRUE), S_OK);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  EXPECT_EQ(stat.cbSize.QuadPart, size.QuadPart) << "GetSizeMax is what Save writes";

  Rewind(stream.Get());
  auto second = NewControl<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_EQ(second->Load(stream.Get()), S_OK);
  EXPECT_EQ(second->IsDirty(), S_FALSE);
  ComPtr<IOleObject> object;
  ASSERT_EQ(second.As(&object), S_OK);
  SIZEL extent = {};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, kHimetric.cx);
  EXPECT_EQ(extent.cy, kHimetric.cy);

  // The same bytes once more.
  auto again = NewStream();
  ASSERT_EQ(second->Save(again.Get(), FALSE), S_OK);
  HGLOBAL a = nullptr, b = nullptr;
  GetHGlobalFromStream(stream.Get(), &a);
  GetHGlobalFromStream(again.Get(), &b);
  EXPECT_EQ(memcmp(GlobalLock(a), GlobalLock(b), 16), 0);
  GlobalUnlock(a);
  GlobalUnlock(b);
}

TEST_F(ActiveXControlTest, AStreamWithAnotherExtentLoadsButTheSizeStaysAndTheControlIsDirty) {
  auto stream = NewStream();
  const BYTE other[16] = {'V', 'X', 'C', 'S', 1, 0, 8, 0, 0xE8, 0x03, 0, 0, 0xE8, 0x03, 0, 0};
  stream->Write(other, sizeof other, nullptr);
  Rewind(stream.Get());
  auto persist = NewControl<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_EQ(persist->Load(stream.Get()), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK) << "the container's next save records the real size";
  ComPtr<IOleObject> object;
  ASSERT_EQ(persist.As(&object), S_OK);
  SIZEL extent = {};
  object->GetExtent(DVASPECT_CONTENT, &extent);
  EXPECT_EQ(extent.cx, kHimetric.cx);
  auto saved = NewStream();
  ASSERT_EQ(persist->Save(saved.Get(), FALSE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK) << "a save that does not clear leaves it dirty";
  ASSERT_EQ(persist->Save(saved.Get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
}

TEST_F(ActiveXControlTest, AShortOrForeignStreamFailsToLoadAndChangesNothing) {
  auto persist = NewControl<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_EQ(persist->InitNew(), S_OK);
  const BYTE shortState[10] = {'V', 'X', 'C', 'S', 1, 0, 8, 0, 0x81, 0x0F};
  const BYTE foreign[16] = {'<', 'x', 'm', 'l', '>'};
  for (const auto& [bytes, length] :
       {std::pair<const BYTE*, ULONG>{shortState, 10}, {foreign, 16}, {foreign, 0}}) {
    auto stream = NewStream();
    if (length)
      stream->Write(bytes, length, nullptr);
    Rewind(stream.Get());
    EXPECT_TRUE(FAILED(persist->Load(stream.Get())));
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
  }
  EXPECT_EQ(persist->Load(nullptr), E_POINTER);
  EXPECT_EQ(persist->Save(nullptr, TRUE), E_POINTER);
  EXPECT_EQ(persist->GetSizeMax(nullptr), E_POINTER);
}

TEST_F(ActiveXControlTest, FrozenEventsAreDroppedUntilTheContainerThawsThem) {
  EventSink sink;
  {
    auto control = NewControl<_TestControl>(IID__TestControl);
    ASSERT_TRUE(control);
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(control.As(&container), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(DIID___TestControl, &point), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    ComPtr<IOleControl> ole;
    ASSERT_EQ(control.As(&ole), S_OK);

    VARIANT_BOOL cancelled = VARIANT_FALSE;
    ASSERT_EQ(control->Ask(3, &cancelled), S_OK);
    EXPECT_EQ(cancelled, VARIANT_TRUE) << "the sink's Cancel comes back";
    ASSERT_EQ(ole->FreezeEvents(TRUE), S_OK);
    ASSERT_EQ(ole->FreezeEvents(TRUE), S_OK);
    ASSERT_EQ(control->Ask(3, &cancelled), S_OK);
    EXPECT_EQ(cancelled, VARIANT_FALSE);
    ASSERT_EQ(ole->FreezeEvents(FALSE), S_OK);
    ASSERT_EQ(control->Ask(3, &cancelled), S_OK);
    EXPECT_EQ(cancelled, VARIANT_FALSE) << "frozen twice, thawed once";
    ASSERT_EQ(ole->FreezeEvents(FALSE), S_OK);
    ASSERT_EQ(control->Ask(3, &cancelled), S_OK);
    EXPECT_EQ(cancelled, VARIANT_TRUE);
    EXPECT_EQ(sink.events, (std::vector<DISPID>{1, 1}));
    point->Unadvise(cookie);
  }
  EXPECT_EQ(sink.refs, 1u);
}

TEST_F(ActiveXControlTest, ReferenceCountsComeBackToZero) {
  {
    auto control = NewControl<IUnknown>(IID_IUnknown);
    ASSERT_TRUE(control);
    ComPtr<IOleObject> object;
    ComPtr<IViewObject2> view;
    ComPtr<IPersistStreamInit> persist;
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(control.As(&object), S_OK);
    ASSERT_EQ(control.As(&view), S_OK);
    ASSERT_EQ(control.As(&persist), S_OK);
    ASSERT_EQ(control.As(&info), S_OK);
    // One count for the whole object: every interface adds to it.
    EXPECT_EQ(control->AddRef(), 6u);
    EXPECT_EQ(control->Release(), 5u);
    EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
  }
  server_.ReleaseFactory();
  EXPECT_TRUE(server_.CanUnload());
}

}  // namespace
}  // namespace vtq::comkit
