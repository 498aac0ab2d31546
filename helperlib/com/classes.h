#pragma once
// Creation functions of the five classes, for the class factory.

#include <windows.h>

namespace orrin::com {

HRESULT CreateRegging(REFIID riid, void** out);
HRESULT CreateOrrinModules(REFIID riid, void** out);
HRESULT CreateOrrinCrypting(REFIID riid, void** out);
HRESULT CreateOrrinShell(REFIID riid, void** out);
HRESULT CreateFrmTile(REFIID riid, void** out);

}  // namespace orrin::com
