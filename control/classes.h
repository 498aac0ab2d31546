#pragma once
// Creation of the library's classes. The creatable ones take the process's
// engine host (the class table's functions); the others, and tests, name
// the host the object runs on.

#include <windows.h>

#include <memory>

#include "control/engine_host.h"

namespace vtq::control {

HRESULT CreateActiveSplitter(REFIID riid, void** out);
HRESULT CreateActiveAssembler(REFIID riid, void** out);
HRESULT CreateMarrowgate(REFIID riid, void** out);
HRESULT CreateActiveRecovery(REFIID riid, void** out);

HRESULT MakeActiveSplitter(std::shared_ptr<EngineHost> host, REFIID riid, void** out);
HRESULT MakeActiveAssembler(std::shared_ptr<EngineHost> host, REFIID riid, void** out);
HRESULT MakeMarrowgate(std::shared_ptr<EngineHost> host, REFIID riid, void** out);
HRESULT MakeActiveRecovery(std::shared_ptr<EngineHost> host, REFIID riid, void** out);
// Globals has no class entry: containers cannot create it.
HRESULT MakeGlobals(std::shared_ptr<EngineHost> host, REFIID riid, void** out);

}  // namespace vtq::control
