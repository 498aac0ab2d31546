#pragma once
// GetINIString / PutINIString: private profile files, as the system keeps
// them (a file name without a folder lies in the Windows folder).

#include <string>

namespace orrin {

// The value, read whole however long it is; `fallback` when it is missing.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& file, const std::wstring& fallback);
bool WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file);

}  // namespace orrin
