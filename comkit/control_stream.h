#pragma once
// The persisted state of a fixed-size control, as a container keeps it in
// a stream of its own, often between the states of other controls: so a
// load reads exactly what a save wrote, and no byte more.
//
//   offset 0   4 bytes  "VXCS"
//   offset 4   2 bytes  format version (1)
//   offset 6   2 bytes  length of the body that follows (8 in version 1)
//   offset 8   4 bytes  width in HIMETRIC, signed
//   offset 12  4 bytes  height in HIMETRIC, signed
//
// All numbers little-endian. A later version may add to the body: a reader
// of version 1 takes the extent and passes over the rest.

#include <windows.h>
#include <objidl.h>

namespace vtq::comkit {

constexpr ULONG kControlStateSize = 16;

HRESULT WriteControlState(IStream* stream, SIZEL extent);

// Fails without touching `extent` when the stream holds no state of ours:
// a short stream, another marker, version 0, a body too short for the
// extent, or an extent that is not a plausible size (not positive, or
// beyond 100 m).
HRESULT ReadControlState(IStream* stream, SIZEL* extent);

}  // namespace vtq::comkit
