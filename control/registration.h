#pragma once
// The library's classes and its registration under HKEY_CLASSES_ROOT
// (ProgIDs "ActiveVantrelloquin." + class name). Marrowgate registers as an
// ActiveX control; the library claims no safety for scripting or
// initialisation.

#include <windows.h>
#include <oleidl.h>

#include <span>

#include "comkit/class_factory.h"

namespace vtq::control {

// The OLEMISC_ bits of the control's content aspect, registered under
// MiscStatus and answered by IOleObject::GetMiscStatus alike.
inline constexpr DWORD kMarrowgateMiscStatus = OLEMISC_SETCLIENTSITEFIRST |
                                               OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                                               OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
// The resource number of the control's toolbox bitmap.
inline constexpr WORD kToolboxBitmap = 1;

std::span<const comkit::ClassEntry> Classes();

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace vtq::control
