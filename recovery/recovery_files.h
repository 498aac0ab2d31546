#pragma once
// Reading a PAR 2.0 recovery set from its files, whoever wrote them: every
// packet whose hash holds is taken, wherever it stands; a damaged stretch
// is passed over to the next packet's magic. The set is the one of the
// first sound main packet; packets of other sets are ignored.
//
// The files are outside input, and reading them costs time in proportion to
// their size however they are made: a damaged stretch is searched through
// once, and the hashes of the packets tried in one file never add up to
// more than twice its length (sound packets do not overlap, so only the
// stretches around damage are hashed twice).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recovery/packets.h"

namespace vtq::recovery {

struct FoundSlice {
  std::string file;
  uint64_t dataOffset = 0;
  uint64_t dataLength = 0;
  uint32_t exponent = 0;
};

struct LoadedSet {
  // None when no sound main packet was found, a file of the set has no
  // sound description or checksums, or the set is refused (`refusal`).
  std::optional<RecoverySet> set;
  // Sound recovery slices of the set, each as long as a slice, one per
  // exponent, by exponent.
  std::vector<FoundSlice> slices;
  // Recovery files in which some stretch was not a sound packet.
  std::vector<std::string> damaged;
  // Recovery files that could not be read at all.
  std::vector<std::string> unreadable;
  // Why a complete set is not used, as the end of a sentence ("it names a
  // file outside its folder (../x)"): a name that leads out of the recovery
  // files' folder or names a device, where a repair would write; a file
  // listed twice, which would have it hashed once per listing. (Slices
  // larger than every file are par2's own when asked for; the check of the
  // files bounds the zeros it hashes instead, see CheckFiles.)
  std::string refusal;
};

// Why a name of a set cannot be joined to the folder it lies in: absolute,
// with a drive, with "." or ".." parts (a ".." leads outside), or naming a
// device where the system has such names; "/" separates subfolders. Empty
// when it can.
std::string NameRefusal(const std::string& name);
inline bool NameStaysInside(const std::string& name) {
  return NameRefusal(name).empty();
}
// The full name of a set's file in `folder` (ending in its separator).
std::string NameInFolder(const std::string& folder, const std::string& name);

LoadedSet LoadRecoveryFiles(const std::vector<std::string>& names);

// The recovery files beside `indexFile` (its folder's files whose name is
// the index file's name before "par2", then "vol" ... ".par2"), the index
// file first when it is there. Case is ignored in the "par2" part.
std::vector<std::string> FindRecoveryFiles(const std::string& indexFile);

}  // namespace vtq::recovery
