// In-place activation against a site of the test's own that records what
// the control asks of it, for the parts of the protocol Wine's atl.dll
// host does not exercise: the order of the calls, the real size reported
// back, UI activation with the frame's active object, the verbs, Close,
// and every container interface let go at the end.
#include <windows.h>
#include <oleidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "base/win/restore_guards.h"
#include "comkit/control_extent.h"
#include "comkit/tests/test_control_server.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;
using testing::kTwips;
using testing::TestControlServer;

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Client site, in-place site and frame in one, owned by the test: it
// counts references without deleting itself.
class RecordingSite final : public IOleClientSite,
                            public IOleInPlaceSite,
                            public IOleInPlaceFrame,
                            public IAdviseSink {
 public:
  explicit RecordingSite(HWND parent) : parent_(parent) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IAdviseSink)
      *out = static_cast<IAdviseSink*>(this);
    if (!*out)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return Log("SaveObject"); }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return Log("ShowObject"); }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (the site's and the frame's)
  STDMETHODIMP GetWindow(HWND* out) override {
    *out = parent_;
    return Log("GetWindow");
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override {
    Log("CanInPlaceActivate");
    return canActivate;
  }
  STDMETHODIMP OnInPlaceActivate() override { return Log("OnInPlaceActivate"); }
  STDMETHODIMP OnUIActivate() override { return Log("OnUIActivate"); }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
    *document = nullptr;
    *position = *clip = this->position;
    return Log("GetWindowContext");
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return Log("OnUIDeactivate"); }
  STDMETHODIMP OnInPlaceDeactivate() override { return Log("OnInPlaceDeactivate"); }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT real) override {
    Log("OnPosRectChange " + RectText(*real));
    // A form container accepts the size and places the control again.
    if (answerPosRectChange && inPlace)
      inPlace->SetObjectRects(real, real);
    return S_OK;
  }

  // IOleInPlaceUIWindow / IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    return Log(active ? "SetActiveObject" : "SetActiveObject null");
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IAdviseSink
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override { Log("OnClose"); }

  ULONG refs = 1;
  std::vector<std::string> calls;
  RECT position = {10, 20, 410, 320};
  HRESULT canActivate = S_OK;
  bool answerPosRectChange = false;
  IOleInPlaceObject* inPlace = nullptr;  // for the answer to OnPosRectChange

 private:
  HRESULT Log(std::string call) {
    calls.push_back(std::move(call));
    return S_OK;
  }
  HWND parent_;
};

class InPlaceActivationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialised());
    ASSERT_TRUE(server_.Loaded());
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(parent_);
    site_ = std::make_unique<RecordingSite>(parent_);
    object_ = server_.Create<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(object_);
    ASSERT_EQ(object_.As(&inPlace_), S_OK);
    fixed_ = TwipsToPixels(kTwips, ScreenDpi());
  }
  void TearDown() override {
    if (object_) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
    }
    inPlace_.Reset();
    object_.Reset();
    // The control holds nothing of the container any more.
    EXPECT_EQ(site_->refs, 1u);
    DestroyWindow(parent_);
  }

  HWND ControlWindow() {
    HWND window = nullptr;
    inPlace_->GetWindow(&window);
    return window;
  }
  RECT PlacedRect() {
    RECT placed = {};
    GetWindowRect(ControlWindow(), &placed);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&placed), 2);
    return placed;
  }
  std::string Fixed(int left, int top) {
    return RectText({left, top, left + fixed_.cx, top + fixed_.cy});
  }

  const base::win::ScopedOle ole_;
  TestControlServer server_;
  HWND parent_ = nullptr;
  std::unique_ptr<RecordingSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> inPlace_;
  SIZE fixed_ = {};
};

TEST_F(InPlaceActivationTest, ActivatesInTheContainersOrderAndReportsItsRealSize) {
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  RECT asked = site_->position;
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, &asked),
            S_OK);
  EXPECT_EQ(site_->calls,
            (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindow",
                                      "GetWindowContext", "OnPosRectChange " + Fixed(10, 20),
                                      "ShowObject"}));
  ASSERT_TRUE(IsWindow(ControlWindow()));
  EXPECT_EQ(GetParent(ControlWindow()), parent_);
  EXPECT_EQ(RectText(PlacedRect()), Fixed(10, 20));

  // Activating again changes nothing but shows the control.
  site_->calls.clear();
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, &asked),
            S_OK);
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"ShowObject"}));
}

TEST_F(InPlaceActivationTest, SetObjectRectsMovesTheWindowAndKeepsItsSize) {
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, nullptr),
            S_OK);
  site_->calls.clear();
  site_->inPlace = inPlace_.Get();
  site_->answerPosRectChange = true;
  const RECT larger = {30, 40, 330, 240};
  ASSERT_EQ(inPlace_->SetObjectRects(&larger, &larger), S_OK);
  EXPECT_EQ(RectText(PlacedRect()), Fixed(30, 40));
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"OnPosRectChange " + Fixed(30, 40)}))
      << "a container that places the control again at its size is not asked twice";

  site_->calls.clear();
  const RECT exact = {5, 6, 5 + fixed_.cx, 6 + fixed_.cy};
  ASSERT_EQ(inPlace_->SetObjectRects(&exact, &exact), S_OK);
  EXPECT_EQ(RectText(PlacedRect()), Fixed(5, 6));
  EXPECT_TRUE(site_->calls.empty()) << "the size asked for is the real one";
  EXPECT_EQ(inPlace_->SetObjectRects(nullptr, &exact), E_POINTER);
}

TEST_F(InPlaceActivationTest, UIActivationMakesItTheFramesActiveObjectUntilUIDeactivate) {
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  site_->position = {0, 0, fixed_.cx, fixed_.cy};
  ASSERT_EQ(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, parent_, nullptr), S_OK);
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate",
                                                    "GetWindow", "GetWindowContext", "OnUIActivate",
                                                    "SetActiveObject", "ShowObject"}));
  site_->calls.clear();
  ASSERT_EQ(inPlace_->UIDeactivate(), S_OK);
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"SetActiveObject null", "OnUIDeactivate"}));
  EXPECT_TRUE(IsWindow(ControlWindow())) << "still active in place";

  site_->calls.clear();
  ASSERT_EQ(object_->DoVerb(OLEIVERB_PRIMARY, nullptr, site_.get(), 0, parent_, nullptr), S_OK);
  ASSERT_EQ(inPlace_->InPlaceDeactivate(), S_OK);
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"OnUIActivate", "SetActiveObject", "ShowObject",
                                                    "SetActiveObject null", "OnUIDeactivate",
                                                    "OnInPlaceDeactivate"}));
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(inPlace_->GetWindow(&window), E_FAIL);
  EXPECT_EQ(window, nullptr);
}

TEST_F(InPlaceActivationTest, VerbsItDoesNotHaveAndContainersThatRefuse) {
  RECT asked = site_->position;
  EXPECT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, parent_, &asked),
            E_UNEXPECTED)
      << "no site to activate in";
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  site_->canActivate = S_FALSE;
  EXPECT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, &asked),
            E_FAIL);
  EXPECT_EQ(ControlWindow(), nullptr);
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"CanInPlaceActivate"}));

  site_->canActivate = S_OK;
  EXPECT_EQ(object_->DoVerb(OLEIVERB_OPEN, nullptr, site_.get(), 0, parent_, &asked), E_NOTIMPL);
  EXPECT_EQ(object_->DoVerb(7, nullptr, site_.get(), 0, parent_, &asked), OLEOBJ_S_INVALIDVERB)
      << "an unknown verb of its own runs the primary verb";
  ASSERT_TRUE(IsWindow(ControlWindow()));
  EXPECT_EQ(object_->DoVerb(OLEIVERB_HIDE, nullptr, site_.get(), 0, parent_, &asked), S_OK);
  EXPECT_FALSE(IsWindowVisible(ControlWindow()));
  EXPECT_EQ(object_->DoVerb(OLEIVERB_SHOW, nullptr, site_.get(), 0, parent_, &asked), S_OK);
  EXPECT_TRUE(IsWindowVisible(ControlWindow()));
}

TEST_F(InPlaceActivationTest, CloseDeactivatesAndTellsTheAdviseSinks) {
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(object_->Advise(site_.get(), &cookie), S_OK);
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, nullptr),
            S_OK);
  const HWND window = ControlWindow();
  site_->calls.clear();
  ASSERT_EQ(object_->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(site_->calls, (std::vector<std::string>{"OnInPlaceDeactivate", "OnClose"}))
      << "a control that is not dirty is not saved";
  ComPtr<IOleClientSite> held;
  ASSERT_EQ(object_->GetClientSite(&held), S_OK);
  EXPECT_EQ(held.Get(), static_cast<IOleClientSite*>(site_.get()));
  held.Reset();
  EXPECT_EQ(object_->Unadvise(cookie), S_OK);
}

TEST_F(InPlaceActivationTest, TheContainerLettingGoOfTheControlEndsItsWindow) {
  ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
  ASSERT_EQ(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, parent_, nullptr), S_OK);
  const HWND window = ControlWindow();
  ASSERT_TRUE(IsWindow(window));
  // A container that only lets go of its references: the in-place site,
  // the frame and the client site are the control's last hold on it.
  EXPECT_GT(site_->refs, 1u);
  object_->SetClientSite(nullptr);
  inPlace_.Reset();
  object_.Reset();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace vtq::comkit
