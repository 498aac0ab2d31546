#include "helperlib/core/recent_files.h"

#include <algorithm>

namespace orrin {
namespace {

std::wstring ValueName(size_t position) {
  return L"File" + std::to_wstring(position);
}

}  // namespace

std::vector<std::wstring> RecentFiles(Registry& registry, HKEY root, const std::wstring& section) {
  std::vector<std::wstring> files;
  for (size_t i = 1;; ++i) {
    auto file = registry.GetText(root, section, ValueName(i));
    if (!file)
      return files;
    files.push_back(std::move(*file));
  }
}

bool AddRecentFile(Registry& registry, HKEY root, const std::wstring& section,
                   const std::wstring& file, int maxItems) {
  if (file.empty() || maxItems < 1)
    return false;
  std::vector<std::wstring> files = RecentFiles(registry, root, section);
  const size_t stored = files.size();
  std::erase_if(files, [&](const std::wstring& entry) {
    return entry.empty() || lstrcmpiW(entry.c_str(), file.c_str()) == 0;
  });
  files.insert(files.begin(), file);
  files.resize(std::min(files.size(), static_cast<size_t>(maxItems)));
  for (size_t i = 0; i < files.size(); ++i) {
    if (!registry.SetText(root, section, ValueName(i + 1), files[i]))
      return false;
  }
  for (size_t i = files.size() + 1; i <= stored; ++i)
    registry.RemoveValue(root, section, ValueName(i));
  return true;
}

}  // namespace orrin
