#pragma once
// The engine's ordered collection of full file names, keyed by base name
// (case-insensitive, unique), 1-based positions in insertion order.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/item_index.h"

namespace vtq {

class Globals;

class FileList {
 public:
  explicit FileList(Globals& globals) : globals_(globals) {}

  void Clear();
  // 0 when added or already present by base name; else the error number of
  // the failed test open (after the "Pellworth Type Library" message).
  int16_t Add(const std::string& filename);
  void AddFolderContents(const std::string& folder, const std::string& pattern = "*.*");
  // Raises overflow (6) beyond 32,767 entries.
  int16_t Count() const;
  // Raises error 5 for a position out of range or an unknown key. A key is
  // used unchanged (not reduced to its base name).
  void Remove(const ItemIndex& index);
  // A key is reduced to its base name first, so a full name from any folder
  // finds the entry of the same base name.
  const std::string& Item(const ItemIndex& index) const;
  // Item(index) up to and including the first "." of its base name.
  std::string NameUpToFirstDot(const ItemIndex& index) const;
  // Size of the smallest file, read from the disk now; -1 for an empty list.
  int32_t SmallestFile() const;

  // The enumerator member: the full names in insertion order, taken now, so
  // that a container may change the list while it walks them.
  std::vector<std::string> NewEnum() const { return entries_; }
  // For-each over the full names in insertion order.
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }
  bool Empty() const { return entries_.empty(); }

 private:
  // The entry's 0-based place; raises error 5 when the index names none.
  size_t PlaceOf(const ItemIndex& index, bool reduceKey) const;

  Globals& globals_;
  std::vector<std::string> entries_;
  std::vector<std::string> keys_;          // parallel to entries_, case-folded
  std::unordered_set<std::string> known_;  // the same keys, for a quick test on Add
};

}  // namespace vtq
