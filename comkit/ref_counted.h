#pragma once
// The IUnknown lifetime every object of a server shares: an atomic
// reference count that starts at one (the creator's), a module object
// count for DllCanUnloadNow from construction to destruction, and deletion
// when the last reference goes. A class derives from RefCounted<the
// interfaces it implements...>, answers QueryInterface itself and keeps its
// destructor private or protected: only Release ends an object.

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>
#include <utility>

#include "comkit/module_state.h"

namespace vtq::comkit {

template <class... Interfaces>
class RefCounted : public Interfaces... {
 public:
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0)
      delete this;
    return left;
  }

 protected:
  RefCounted() { ObjectCreated(); }
  virtual ~RefCounted() { ObjectDestroyed(); }

 private:
  std::atomic<ULONG> refs_{1};
};

// Creates a T at its first reference, queries it for riid and lets that
// reference go: the caller's reference is the only one left, and an object
// that does not answer riid is gone again.
template <class T, class... Args>
HRESULT CreateObject(REFIID riid, void** out, Args&&... args) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  T* object = new (std::nothrow) T(std::forward<Args>(args)...);
  if (!object)
    return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

}  // namespace vtq::comkit
