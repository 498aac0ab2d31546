#pragma once
// The classes of the library and their registration under
// HKEY_CLASSES_ROOT (ProgIDs "OrrinModules32." + class name).

#include <windows.h>

#include <span>

#include "comkit/class_factory.h"

namespace orrin::com {

std::span<const vtq::comkit::ClassEntry> Classes();

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace orrin::com
