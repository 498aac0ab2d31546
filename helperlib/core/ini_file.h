#pragma once
// GetINIString / PutINIString: private profile files, as the system keeps
// them (a file name without a folder lies in the Windows folder). A new
// file whose first text the ANSI code page cannot carry is written in
// UTF-16, as the system keeps a file that begins with the UTF-16 mark; a
// file that is there keeps its form (ANSI files stay ANSI for the programs
// that read them).

#include <string>

namespace orrin {

// The value, read whole however long it is; `fallback` when it is missing.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& file, const std::wstring& fallback);
bool WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file);

}  // namespace orrin
