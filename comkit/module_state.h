#pragma once
// What COM itself asks of an in-process server's module: its own instance
// handle (for its path and its embedded type library) and the count of
// live objects and factory locks (for DllCanUnloadNow). Each DLL that links
// this library has its own copy of the state.

#include <windows.h>

#include <string>

namespace vtq::comkit {

// The DLL's own instance handle, set once by DllMain.
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
// The DLL's full path.
std::wstring ModulePath();

// Every object and every factory lock counts; the module may go at zero.
void ObjectCreated();
void ObjectDestroyed();
bool CanUnload();

}  // namespace vtq::comkit
