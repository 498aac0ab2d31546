#pragma once
// A server's registration under HKEY_CLASSES_ROOT, written from a table:
// every class of the server gets the same set of entries (its CLSID key
// with the in-process server, ProgIDs "<library>.<class>" and
// "<library>.<class>.<major>", type library and version; a control also
// the keys containers look for), and the type library is registered from
// the DLL's embedded copy. Everything a class writes lies below the keys
// its unregistering removes.

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "comkit/class_factory.h"

namespace vtq::comkit {

// What a container needs to know of a control before it creates one.
struct ControlDescription {
  // The OLEMISC_ bits of the control's content aspect, as
  // IOleObject::GetMiscStatus answers them.
  DWORD miscStatus;
  // The resource number of the 16 by 15 bitmap a toolbox shows for it.
  WORD toolboxBitmap;
};

struct ServerDescription {
  const wchar_t* libraryName;  // the ProgIDs' first part, e.g. "OrrinModules32"
  const GUID* libid;
  WORD major;
  WORD minor;
  std::span<const ClassEntry> classes;
  // The locale the type library declares (its lcid attribute), under which
  // RegisterTypeLib files it and unregistering must look for it.
  LCID lcid = LOCALE_NEUTRAL;
};

// One text value below HKEY_CLASSES_ROOT; an empty name is the key's
// default. An entry with neither name nor value is the bare key, whose
// presence alone says something (as "Control" does).
struct RegistryEntry {
  std::wstring key;
  std::wstring name;
  std::wstring value;
};

// Every value one class registers, in the order they are written.
std::vector<RegistryEntry> ClassEntries(const ServerDescription& server, const ClassEntry& entry,
                                        const std::wstring& dllPath);
// The keys that unregistering one class removes, each with all below it.
std::vector<std::wstring> ClassKeys(const ServerDescription& server, const ClassEntry& entry);

// Writes the entries under `root`; stops at the first failure.
HRESULT WriteEntries(HKEY root, std::span<const RegistryEntry> entries);
// Writes every class's entries under `root`; stops at the first failure.
HRESULT WriteClasses(HKEY root, const ServerDescription& server, const std::wstring& dllPath);
// Removes every class's keys below `root`, each with all below it; keys
// that are not there are no failure.
void RemoveClasses(HKEY root, const ServerDescription& server);

// DllRegisterServer: the type library, then every class; on a failure
// whatever was written is removed again.
HRESULT RegisterServer(const ServerDescription& server, const std::wstring& dllPath);
// DllUnregisterServer: every class's keys and the type library; a type
// library that is not registered has nothing left to remove.
HRESULT UnregisterServer(const ServerDescription& server);

}  // namespace vtq::comkit
