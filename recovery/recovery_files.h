#pragma once
// Reading a PAR 2.0 recovery set from its files, whoever wrote them: every
// packet whose hash holds is taken, wherever it stands; a damaged stretch
// is passed over to the next packet's magic. The set is the one of the
// first sound main packet; packets of other sets are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recovery/packets.h"

namespace vtq::recovery {

struct FoundSlice {
  std::string file;
  uint64_t dataOffset = 0;
  uint32_t exponent = 0;
};

struct LoadedSet {
  // None when no sound main packet was found, a file of the set has no
  // sound description or checksums, or a name leads outside.
  std::optional<RecoverySet> set;
  // Sound recovery slices of the set, one per exponent, by exponent.
  std::vector<FoundSlice> slices;
  // Recovery files in which some stretch was not a sound packet.
  std::vector<std::string> damaged;
  // Recovery files that could not be read at all.
  std::vector<std::string> unreadable;
  // A name of the set that leads out of the recovery files' folder (an
  // absolute name, a drive, a ".." part): the set is then not used, since a
  // repair would write there.
  std::string nameOutside;
};

// Whether a name of a set stays inside the folder it is joined to: relative,
// without drive, and without "." or ".." parts; "/" separates subfolders.
bool NameStaysInside(const std::string& name);
// The full name of a set's file in `folder` (ending in its separator).
std::string NameInFolder(const std::string& folder, const std::string& name);

LoadedSet LoadRecoveryFiles(const std::vector<std::string>& names);

// The recovery files beside `indexFile` (its folder's files whose name is
// the index file's name before "par2", then "vol" ... ".par2"), the index
// file first when it is there. Case is ignored in the "par2" part.
std::vector<std::string> FindRecoveryFiles(const std::string& indexFile);

// Removes the recovery files of `prefix` (folder and stem: prefix + "par2"
// and its volumes) whose set covers nothing but files named stem + digits,
// the fragments of a series: once a new series takes those names, they
// would "rebuild" its fragments with the old one's data. Files that hold no
// readable set, or cover other files, stay. Returns the names removed.
std::vector<std::string> RemoveSeriesRecoveryFiles(const std::string& prefix);

}  // namespace vtq::recovery
