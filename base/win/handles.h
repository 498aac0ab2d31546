#pragma once
// The Win32 handle kinds, each with its own "none" value and its own way
// back to the system, over the one ScopedHandle template.

#include <windows.h>
#include <unknwn.h>

#include "base/scoped_handle.h"

namespace vtq::base::win {

// CreateFile fails with INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// Processes, threads, events, mappings: their creators fail with NULL.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// FindFirstFile fails with INVALID_HANDLE_VALUE; the handle goes back
// through FindClose, never CloseHandle.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { FindClose(handle); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { RegCloseKey(handle); }
};

// A library this code loaded itself (LoadLibrary), not one found with
// GetModuleHandle, which must not be freed.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { FreeLibrary(handle); }
};

// A pen, brush, font or bitmap this code created. It must not be selected
// into a device context when it goes (see ScopedSelectObject).
template <class Object = HGDIOBJ>
struct GdiObjectTraits {
  using Handle = Object;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

// One reference to a COM object.
template <class Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { handle->Release(); }
};

using FileHandle = ScopedHandle<FileHandleTraits>;
using KernelHandle = ScopedHandle<KernelHandleTraits>;
using FindHandle = ScopedHandle<FindHandleTraits>;
using RegKey = ScopedHandle<RegKeyTraits>;
using LoadedModule = ScopedHandle<ModuleTraits>;
template <class Object = HGDIOBJ>
using GdiObject = ScopedHandle<GdiObjectTraits<Object>>;
template <class Interface>
using ComRef = ScopedHandle<ComTraits<Interface>>;

}  // namespace vtq::base::win
