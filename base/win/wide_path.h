#pragma once
// Names on their way to the system's wide calls. Inside, a name is UTF-8;
// the wide calls take UTF-16, and a full path of MAX_PATH characters or
// more only in the "\\?\" form (which the system takes literally: no "."
// or ".." parts, no "/", no relative names), so long paths are made whole
// and absolute first.

#include <string>
#include <string_view>

namespace vtq::base::win {

// The name for CreateFileW and its kin: short names as they are, long ones
// as "\\?\C:\..." or "\\?\UNC\server\share\...".
std::wstring WidePath(std::string_view utf8);
// The same for a name already in UTF-16.
std::wstring LongPathForm(std::wstring_view path);

// A name the system handed back, as UTF-8 without the "\\?\" form.
std::string NameFromSystem(std::wstring_view path);

}  // namespace vtq::base::win
