#pragma once
// FileTime: a file's creation, last-written or last-accessed time, read or
// set, as automation dates in local time.

#include <optional>
#include <string>

namespace orrin {

// The values of ft_Type.
enum class FileTimeKind { kCreated = 1, kLastWritten = 2, kLastAccessed = 3, kAll = 4 };

// nullopt when the file cannot be opened. kAll reads the last-written time.
std::optional<double> ReadFileTime(const std::wstring& file, FileTimeKind kind);
// Sets one time, or all three with kAll.
bool WriteFileTime(const std::wstring& file, FileTimeKind kind, double localDate);
// Gives `file` the time(s) of `from`.
bool CopyFileTime(const std::wstring& file, FileTimeKind kind, const std::wstring& from);

}  // namespace orrin
