#pragma once
// A real container for control tests: Wine's atl.dll (MinGW has no import
// library for it) creating a control by its class in a plain host window,
// and the small window and stream helpers such tests need. The control's
// class must be reachable from COM: registered, or a factory given to
// CoRegisterClassObject by the test.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <vector>

#include "base/win/handles.h"
#include "base/win/restore_guards.h"

namespace vtq::comkit::testing {

// A host window that does nothing of its own: atl.dll subclasses it.
struct HostWindow {
  explicit HostWindow(SIZE size) {
    static constexpr wchar_t kHostClass[] = L"ComkitTestHostWindow";
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

inline void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

inline SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

inline Microsoft::WRL::ComPtr<IStream> NewStream(const std::vector<BYTE>& bytes = {}) {
  Microsoft::WRL::ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  if (!bytes.empty())
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

inline std::vector<BYTE> ContentsOf(IStream* stream) {
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream, &memory);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(memory));
  std::vector<BYTE> contents(bytes, bytes + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return contents;
}

// The control's own window, once the host has activated it in place.
inline HWND WindowOf(IUnknown* control) {
  Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlace;
  HWND window = nullptr;
  if (control && SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, &inPlace)))
    inPlace->GetWindow(&window);
  return window;
}

// Pixels of the window as the screen shows them: how many are `ink` and
// how many `face`.
struct PixelCount {
  int ink = 0;
  int face = 0;
};
inline PixelCount CountPixels(HWND window, COLORREF ink, COLORREF face) {
  const SIZE size = ClientSize(window);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  base::win::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
  PixelCount count;
  {
    base::win::ScopedSelectObject selected(memory, bitmap.Get());
    BitBlt(memory, 0, 0, size.cx, size.cy, screen, 0, 0, SRCCOPY);
    for (int y = 0; y < size.cy; ++y) {
      for (int x = 0; x < size.cx; ++x) {
        const COLORREF pixel = GetPixel(memory, x, y);
        count.ink += pixel == ink;
        count.face += pixel == face;
      }
    }
  }
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return count;
}

// A control's window shows its caption once painted: letters in the button
// text colour on a window mostly of the button face, and the caption as the
// window's title.
inline void ExpectCaptionDrawn(HWND window, const wchar_t* caption) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  const SIZE size = ClientSize(window);
  const auto [ink, face] =
      CountPixels(window, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(ink, 100) << "the caption's letters";
  EXPECT_GT(face, size.cx * size.cy / 2) << "on the button face";
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, caption);
}

// atl.dll's AtlAxCreateControl and AtlAxGetControl.
class AtlContainer {
 public:
  AtlContainer() : atl_(LoadLibraryW(L"atl.dll")) {
    if (!atl_)
      return;
    create_ = reinterpret_cast<CreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(atl_.Get(), "AtlAxCreateControl")));
    get_ = reinterpret_cast<GetFunction>(
        reinterpret_cast<void*>(GetProcAddress(atl_.Get(), "AtlAxGetControl")));
  }
  bool Loaded() const { return create_ && get_; }

  // The control of class `clsid` the host made in `host` (loaded from
  // `stream` when given), by `riid`.
  template <class Interface>
  Microsoft::WRL::ComPtr<Interface> Create(REFCLSID clsid, HWND host, IStream* stream,
                                           REFIID riid) const {
    wchar_t name[40] = {};
    StringFromGUID2(clsid, name, 40);
    Microsoft::WRL::ComPtr<IUnknown> container, control;
    Microsoft::WRL::ComPtr<Interface> wanted;
    EXPECT_EQ(create_(name, host, stream, &container), S_OK);
    EXPECT_EQ(get_(host, &control), S_OK);
    if (control)
      control->QueryInterface(riid, reinterpret_cast<void**>(wanted.GetAddressOf()));
    Pump();
    return wanted;
  }

 private:
  using CreateFunction = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
  using GetFunction = HRESULT(WINAPI*)(HWND, IUnknown**);
  base::win::LoadedModule atl_;
  CreateFunction create_ = nullptr;
  GetFunction get_ = nullptr;
};

}  // namespace vtq::comkit::testing
