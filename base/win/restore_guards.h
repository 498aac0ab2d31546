#pragma once
// Guards that put back what they changed, on every way out of a scope: the
// cursor, the working folder, the object selected into a device context,
// and the thread's COM (or OLE) initialisation.

#include <windows.h>
#include <objbase.h>

#include <string>

namespace vtq::base::win {

// Shows `cursor` until the guard goes, then the cursor that was shown.
class ScopedCursor {
 public:
  explicit ScopedCursor(HCURSOR cursor) : previous_(SetCursor(cursor)) {}
  ~ScopedCursor() { SetCursor(previous_); }
  ScopedCursor(const ScopedCursor&) = delete;
  ScopedCursor& operator=(const ScopedCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Makes `folder` the working folder until the guard goes, then the folder
// that was the working folder before. Changed() says whether the change
// took; the old folder is put back either way.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::wstring& folder);
  ~ScopedWorkingFolder();
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

  bool Changed() const { return changed_; }

 private:
  std::wstring previous_;  // empty when the system did not say
  bool changed_ = false;
};

// Selects `object` into `dc` until the guard goes, then the object it
// replaced, so that the caller's object is free to be deleted.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (previous_ && previous_ != HGDI_ERROR)
      SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// COM on this thread for the guard's life, in a single-threaded apartment
// unless told otherwise. Only a successful initialisation (S_OK, or S_FALSE
// when the thread had it already) is undone; RPC_E_CHANGED_MODE means the
// thread belongs to another apartment that someone else set up, and that is
// left alone. COM is usable in both cases (Usable()).
class ScopedCom {
 public:
  explicit ScopedCom(DWORD model = COINIT_APARTMENTTHREADED);
  ~ScopedCom();
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

  HRESULT Result() const { return hr_; }
  bool Initialised() const { return SUCCEEDED(hr_); }
  bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

// The same for OLE (clipboard, drag and drop, in-place activation), which
// always wants a single-threaded apartment.
class ScopedOle {
 public:
  ScopedOle();
  ~ScopedOle();
  ScopedOle(const ScopedOle&) = delete;
  ScopedOle& operator=(const ScopedOle&) = delete;

  HRESULT Result() const { return hr_; }
  bool Initialised() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace vtq::base::win
