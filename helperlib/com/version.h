#pragma once
// The library's version, for its version resource and for or_Version. Kept
// in step with the type library's version(1.0).

#define ORRIN_VERSION_MAJOR 1
#define ORRIN_VERSION_MINOR 0
#define ORRIN_VERSION_BUILD 2
#define ORRIN_VERSION_TEXT "1.0.0.2"
