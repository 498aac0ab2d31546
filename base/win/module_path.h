#pragma once
// The full path of a loaded module (nullptr: the running program), and the
// folder part of a path. Empty when the system does not say.

#include <windows.h>

#include <string>
#include <string_view>

namespace vtq::base::win {

std::wstring ModulePath(HMODULE module);
// The same in UTF-8, as the engine names files.
std::string ModulePathUtf8(HMODULE module);

}  // namespace vtq::base::win
