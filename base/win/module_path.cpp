#include "base/win/module_path.h"

#include <vector>

#include "base/win/wide_path.h"

namespace vtq::base::win {
namespace {

// GetModuleFileName cuts a long path to the buffer without saying so other
// than by filling it: a full buffer is tried again twice as large.
template <class Char, class Call>
std::basic_string<Char> Grown(Call call) {
  std::vector<Char> path(MAX_PATH);
  for (;;) {
    const DWORD length = call(path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size())
      return std::basic_string<Char>(path.data(), length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::wstring ModulePath(HMODULE module) {
  return Grown<wchar_t>(
      [module](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); });
}

std::string ModulePathUtf8(HMODULE module) {
  return NameFromSystem(ModulePath(module));
}

}  // namespace vtq::base::win
