#include "cabinet/cab_entry_list.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "cabinet/cabinet_error.h"

namespace vtq::cabinet {
namespace {

bool IsDotEntry(const wchar_t* name) {
  return std::wstring_view(name) == L"." || std::wstring_view(name) == L"..";
}

// Files before folders at each level, each group in the system's order, so
// that a folder's own files come first in the cabinet.
void Walk(const std::wstring& folder, const std::wstring& cabDir, bool includeSubfolders,
          std::vector<CabEntry>& out, size_t& added) {
  WIN32_FIND_DATAW found{};
  base::win::FindHandle find(
      FindFirstFileW(base::win::LongPathForm(folder + L"\\*").c_str(), &found));
  if (!find)
    return;
  std::vector<std::wstring> subfolders;
  do {
    if (IsDotEntry(found.cFileName))
      continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subfolders.emplace_back(found.cFileName);
    } else {
      out.push_back({folder + L"\\" + found.cFileName, cabDir});
      ++added;
    }
  } while (FindNextFileW(find.Get(), &found));
  find.Reset();
  if (!includeSubfolders)
    return;
  for (const std::wstring& sub : subfolders)
    Walk(folder + L"\\" + sub, cabDir.empty() ? sub : cabDir + L"\\" + sub, true, out, added);
}

}  // namespace

const CabEntry& CabEntryList::Item(int32_t index) const {
  if (index < 1 || index > Count())
    Raise(err::kSubscriptOutOfRange, kCompressorSource);
  return entries_[static_cast<size_t>(index - 1)];
}

void CabEntryList::Add(std::wstring source, std::wstring cabDir) {
  entries_.push_back({std::move(source), std::move(cabDir)});
}

int16_t CabEntryList::AddFolder(const std::wstring& folder, bool includeSubfolders) {
  std::wstring root = folder;
  while (root.size() > 1 && (root.back() == L'\\' || root.back() == L'/'))
    root.pop_back();
  size_t added = 0;
  Walk(root, {}, includeSubfolders, entries_, added);
  return static_cast<int16_t>(std::min<size_t>(added, std::numeric_limits<int16_t>::max()));
}

}  // namespace vtq::cabinet
