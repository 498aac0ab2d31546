#pragma once
// The compressor's list of files to pack (its Files property): each entry a
// file on disk and the folder it takes inside the cabinet.

#include <cstdint>
#include <string>
#include <vector>

namespace vtq::cabinet {

struct CabEntry {
  std::wstring Source;  // the file's path on disk
  std::wstring CabDir;  // its folder inside the cabinet, empty for the top
};

class CabEntryList {
 public:
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  // 1-based; any other index is error 9.
  const CabEntry& Item(int32_t index) const;

  void Add(std::wstring source, std::wstring cabDir);
  // Every file of `folder` at the top of the cabinet and, with
  // `includeSubfolders`, those of its subfolders under the same relative
  // folders. Gives the number of files added (at most 32767); a missing
  // folder adds none.
  int16_t AddFolder(const std::wstring& folder, bool includeSubfolders);

  void Clear() noexcept { entries_.clear(); }

 private:
  std::vector<CabEntry> entries_;
};

}  // namespace vtq::cabinet
