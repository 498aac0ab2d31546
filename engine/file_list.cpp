#include "engine/file_list.h"

#include <algorithm>
#include <limits>

#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/name_case.h"

namespace vtq {

void FileList::Clear() {
  entries_.clear();
  keys_.clear();
  known_.clear();
}

int16_t FileList::Add(const std::string& filename) {
  try {
    File probe(filename, File::Mode::kRead);
  } catch (const VbError& e) {
    globals_.GetPlatform().boxes.Show(
        "Unable to find " + filename + "\r" + "This file will not be processed.",
        "Pellworth Type Library", mb::kOk | mb::kIconCritical);
    // Error numbers of file opens are small positive numbers and fit.
    return static_cast<int16_t>(e.Number());
  }
  // Two sources of one base name would write the same fragment names, so a
  // key is unique however its letters are cased, as names are on disk.
  std::string key = FoldNameCase(BaseName(filename));
  if (known_.insert(key).second) {
    entries_.push_back(filename);
    keys_.push_back(std::move(key));
  }
  return 0;
}

void FileList::AddFolderContents(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> gathered;
  CollectFolderFiles(globals_.GetPlatform().folders, folder, "*", pattern, gathered);
  for (const auto& name : gathered)
    Add(name);
  globals_.GetPlatform().boxes.Show("New size of file-list = " + std::to_string(Count()), "",
                                    mb::kOk);
}

int16_t FileList::Count() const {
  if (entries_.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
    Raise(err::kOverflow);
  }
  return static_cast<int16_t>(entries_.size());
}

size_t FileList::PlaceOf(const ItemIndex& index, bool reduceKey) const {
  if (index.IsPosition()) {
    const int32_t position = index.Position();
    if (position < 1 || static_cast<size_t>(position) > entries_.size()) {
      Raise(err::kInvalidArgument);
    }
    return static_cast<size_t>(position - 1);
  }
  const std::string key = FoldNameCase(reduceKey ? BaseName(index.Key()) : index.Key());
  const auto it = std::find(keys_.begin(), keys_.end(), key);
  if (it == keys_.end())
    Raise(err::kInvalidArgument);
  return static_cast<size_t>(it - keys_.begin());
}

void FileList::Remove(const ItemIndex& index) {
  const size_t place = PlaceOf(index, false);
  known_.erase(keys_[place]);
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(place));
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(place));
}

const std::string& FileList::Item(const ItemIndex& index) const {
  return entries_[PlaceOf(index, true)];
}

std::string FileList::NameUpToFirstDot(const ItemIndex& index) const {
  return vtq::NameUpToFirstDot(Item(index));
}

int32_t FileList::SmallestFile() const {
  if (entries_.empty())
    return -1;
  uint64_t smallest = std::numeric_limits<uint64_t>::max();
  for (const auto& name : entries_)
    smallest = std::min(smallest, FileLength(name));
  // The result is 32 bits wide; a smallest file beyond that cannot be told.
  if (smallest > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    Raise(err::kOverflow);
  }
  return static_cast<int32_t>(smallest);
}

}  // namespace vtq
