#pragma once
// Path and naming rules shared by the whole engine. The Windows build uses
// "\" and drive roots "X:\"; the native build uses "/" and treats the
// filesystem that holds a path as its drive. Only this file knows which.

#include <string>
#include <string_view>

namespace vtq {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The text after the last separator (the whole text when there is none).
std::string BaseName(std::string_view fullName);

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

// The root a drive query is asked for. Windows: the first character of the
// text upper-cased + ":\" (only that character counts: "a", "A:" and
// "a:\temp" all give "A:\"; the empty text gives ":\"). Native: the text
// itself, which the drive services resolve to the filesystem holding it.
std::string DriveRoot(std::string_view drive);

// The drive part of a full name as the assembler asks about it: its first two
// characters on Windows ("A:"), the full name natively.
std::string DriveOfName(std::string_view fullName);

}  // namespace vtq
