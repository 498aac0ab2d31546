#pragma once
// The enumerators a client gets from EnumConnectionPoints and
// EnumConnections. Each walks a snapshot taken when it was made, so that
// advising and unadvising while a client walks never disturbs the walk;
// the snapshot holds a reference to every point or sink in it, and every
// point or sink Next hands out carries a reference of its own for the
// caller to release. A clone shares the snapshot but keeps its own place.

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

namespace vtq::comkit {

// One advised sink under its cookie.
using Connection = std::pair<DWORD, Microsoft::WRL::ComPtr<IUnknown>>;

HRESULT EnumerateConnectionPoints(std::vector<Microsoft::WRL::ComPtr<IConnectionPoint>> points,
                                  IEnumConnectionPoints** out);
HRESULT EnumerateConnections(std::vector<Connection> connections, IEnumConnections** out);

}  // namespace vtq::comkit
