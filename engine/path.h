#pragma once
// Path and naming rules shared by the whole engine, over the system's own
// separator and drives (engine/platform/path_names.h).

#include <string>
#include <string_view>

#include "engine/platform/path_names.h"

namespace vtq {

// The text after the last separator (or a drive's colon on Windows); the
// whole text when there is none.
std::string BaseName(std::string_view fullName);

// The text up to and including the last separator (or a drive's colon on
// Windows); empty when there is none. FolderPart + BaseName is the name.
std::string FolderPart(std::string_view fullName);

// A base name up to and including its first "."; empty when it has none.
// "report.final.doc" gives "report." and "README" gives "".
std::string StemOf(std::string_view baseName);

// A full name up to and including the first "." of its base name, folder
// kept; empty when the base name has no ".". Dots in folder names do not count.
std::string NameUpToFirstDot(std::string_view fullName);

// Fragment number i: zero-padded to three digits, more digits from 1000 on.
std::string FragmentNumber(int i);

// The text with one separator at its end (the empty text gives the separator).
std::string WithTrailingSeparator(std::string text);

}  // namespace vtq
