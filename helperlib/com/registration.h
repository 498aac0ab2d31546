#pragma once
// The classes of the library and their registration under
// HKEY_CLASSES_ROOT (ProgIDs "OrrinModules32." + class name).

#include <windows.h>

#include <span>

namespace orrin::com {

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* name;  // the class name; the ProgID adds "OrrinModules32."
  HRESULT (*create)(REFIID, void**);
};

std::span<const ClassEntry> Classes();

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace orrin::com
