#pragma once
// The files a series keeps beside its fragments: the checksum file (stem +
// "sha256", app/operations/checksum_file.h) and the recovery files (stem +
// "par2" and its volumes stem + "vol" ... ".par2", recovery/). One rule says
// what they are called and whether one that is there belongs to the series:
// it does when it lists, or its recovery set covers, exactly fragments 1 to
// n of the series' stem and nothing else (a checksum file's first line
// naming the source). Writing, removing and finding them all go by it: a
// file of the user's that merely has such a name is never replaced or
// removed, and the source being split is never taken for one.

#include <optional>
#include <string>
#include <vector>

#include "app/operations/checksum_file.h"

namespace vtq {

// The number of `baseName` as a fragment of the series of `baseStem` (the
// stem of the fragments' base names): the stem, then digits as the series
// writes them (001, not 1 or 0001), 1 to 32767; 0 when it is none.
int SeriesFragmentNumber(const std::string& baseName, const std::string& baseStem);

// The full names of fragments 1 to `count` of the series of `firstFragment`.
std::vector<std::string> SeriesFragmentNames(const std::string& firstFragment, int count);

// Whether `baseNames` are exactly the fragment names 1 to n (n at least 1)
// of `baseStem`, each once, in any order.
bool AreFragmentsOneToN(const std::vector<std::string>& baseNames, const std::string& baseStem);

// The recovery files' names up to "par2" / "vol": the first fragment's
// folder and stem (report.001 gives report.).
std::string RecoveryPrefixOf(const std::string& firstFragment);
// prefix + "par2".
std::string RecoveryIndexName(const std::string& firstFragment);
// Whether a base name is one of the recovery files of `baseStem`: the stem,
// then "par2" or "vol" ... ".par2", the "par2" in any case.
bool IsRecoveryFileName(const std::string& baseName, const std::string& baseStem);

enum class SideFileKind { kChecksum, kRecovery };
struct SideFile {
  std::string name;
  SideFileKind kind = SideFileKind::kChecksum;
};

// Whether the checksum file, or the recovery set held in one recovery file,
// belongs to the series of `baseStem` (see above). A file that cannot be read
// as one does not.
bool ChecksumsBelong(const SeriesChecksums& sums, const std::string& baseStem);
bool SideFileBelongs(const SideFile& file, const std::string& baseStem);

// The side files that are there beside `firstFragment`: the checksum file,
// then the recovery files, index first.
std::vector<SideFile> SideFilesThere(const std::string& firstFragment);

// "data.sha256 is not this series' checksum file (...)" and the like, for
// a file that does not belong.
std::string ForeignSideFileText(const SideFile& file);

// Before a whole series is written: the side file of the series that would
// be the source itself (its name is one of them there); none when none is.
std::optional<SideFile> SideFileThatIsSource(const std::string& source,
                                             const std::string& firstFragment);

// After a whole series is written: removes the side files of the series it
// replaced (their fragments' names now hold other data, which they would
// accuse or "rebuild" with the old), except the checksum file when
// `checksumsWritten`. Files that do not belong stay; they are returned.
std::vector<SideFile> RemoveReplacedSideFiles(const std::string& firstFragment,
                                              bool checksumsWritten);

}  // namespace vtq
