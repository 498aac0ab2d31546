#pragma once
// How the system names paths: its separator and what a drive is. The Windows
// build uses "\" and drive roots "X:\"; the native build uses "/" and treats
// the filesystem that holds a path as its drive.

#include <string>
#include <string_view>

#include "base/path_parts.h"

namespace vtq {

// "\" on Windows, "/" natively.
extern const char kPathSeparator;
// How names are cut into folder and name: Windows' separators and drives,
// or "/" alone natively.
extern const base::PathStyle kPathStyle;

// The root a drive query is asked for. Windows: the first character of the
// text upper-cased + ":\" (only that character counts: "a", "A:" and
// "a:\temp" all give "A:\"; the empty text gives ":\"). Native: the text
// itself, which the drive services resolve to the filesystem holding it.
std::string DriveRoot(std::string_view drive);

// The drive part of a full name as the assembler asks about it: its first two
// characters on Windows ("A:"), the full name natively.
std::string DriveOfName(std::string_view fullName);

// Whether the system opens a device rather than a file for this base name in
// any folder: Windows' reserved names (IsReservedDeviceName); none natively.
bool OpensDevice(std::string_view baseName);

}  // namespace vtq
