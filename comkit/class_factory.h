#pragma once
// The table of a server's classes and the class factory DllGetClassObject
// hands out for them. A factory exists only for a class of the table;
// anything else is CLASS_E_CLASSNOTAVAILABLE. Factories refuse aggregation.

#include <windows.h>
#include <objbase.h>

#include <span>

namespace vtq::comkit {

using CreateFunction = HRESULT (*)(REFIID riid, void** out);

struct ControlDescription;  // comkit/registration.h

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* name;  // the class name; the ProgID puts the library's name before it
  CreateFunction create;
  // Set for a class that containers place as an ActiveX control: it then
  // registers the keys they look for.
  const ControlDescription* control = nullptr;
};

// DllGetClassObject over `classes`.
HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID riid,
                       void** out);

}  // namespace vtq::comkit
