#pragma once
// Names the assembler derives: a series' stem and fragment names, and the
// output name a fragment header asks for, reduced so that it can never leave
// the destination folder or name a device.

#include <string>
#include <string_view>

namespace vtq {

// The first fragment's folder and the stem of its base name (up to and
// including the first "."). A base name without "." keeps its folder, so the
// fragments 001, 002, ... are looked for beside the first one.
std::string SeriesStem(std::string_view firstFragment);
// stem + i, zero-padded to three digits.
std::string SeriesFragmentName(std::string_view stem, int i);

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, CLOCK$, COM0-9 and LPT0-9 (with the
// superscript digits one to three too), with or without an extension, in any
// case.
bool IsReservedDeviceName(std::string_view name);

// The name Windows gives a file created as `name`: without trailing dots and
// blanks. Empty when nothing else is left.
std::string WindowsFileName(std::string_view name);

// The base name of a stored name: everything up to the last "\", "/" or ":"
// is cut (a header written on either system may hold either separator, and a
// colon names a drive or a stream), then reduced as Windows would reduce it
// (trailing dots and blanks dropped), so that every system writes, and every
// front end shows, the same name. Empty when what is left is no usable file
// name: empty, only dots and blanks, a device name, or characters that no
// Windows file name may hold.
std::string SafeBaseName(std::string_view storedName);

}  // namespace vtq
