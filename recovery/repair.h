#pragma once
// Checking the files of a recovery set against it, and rebuilding the lost
// and damaged ones from the good slices and the recovery slices. A damaged
// file keeps its good slices (checked where they stand: data that moved is
// not looked for); a rebuilt file is written under a working name of its own
// in the same folder, created there exclusively (never through a link at
// any name), and moved over its name once its MD5 is the set's.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "recovery/recovery_files.h"
#include "recovery/slice_combiner.h"

namespace vtq::recovery {

enum class FileState { kIntact, kMissing, kDamaged };

struct FileCheck {
  std::string name;  // full name: the folder and the set's name
  FileState state = FileState::kIntact;
  uint64_t length = 0;           // what the file holds; 0 when missing
  std::vector<bool> goodSlices;  // by slice of the set's description
  // The caller's word on a file at fault: false leaves it as it is (its lost
  // slices are still solved for, since the code needs every one). A file
  // whose name leads through a folder that is a link is left as it is too.
  bool rebuild = true;
  size_t MissingSlices() const;
};

struct SetCheck {
  std::vector<FileCheck> files;  // in the set's order
  size_t missingSlices = 0;
  bool Whole() const;
};

using ProgressCallback = std::function<void(uint64_t done, uint64_t total)>;

// The files named in `set`, looked for in `folder` (ending in its separator,
// or empty for the working folder). The zeros that fill a file's last slice
// are hashed only when the slice's CRC matches, and up to 256 MiB beyond
// four times the data read; a last slice left unhashed counts as lost.
SetCheck CheckFiles(const RecoverySet& set, const std::string& folder,
                    const ProgressCallback& progress = {});

struct RepairOutcome {
  std::vector<std::string> rebuilt;
  std::vector<std::string> notRebuilt;
  // Why nothing was rebuilt, when nothing could be.
  std::string problem;
  // At fault, and left as they are as the check asked.
  std::vector<std::string> leftAlone;
};

// Rebuilds the files `check` found missing or damaged. Needs as many sound
// recovery slices as slices are missing; with fewer, writes nothing. The
// solve for the lost slices takes tables of lost x (lost + inputs) numbers
// and time of lost^2 x inputs: a set whose tables would not fit half of
// `memoryBudget`, or whose solve would cost more than a few times the work
// on the data itself (tiny slices, a set made to stall a repair), is
// refused with a problem and nothing written.
// Raises the engine's errors of reading and writing.
RepairOutcome RepairFiles(const RecoverySet& set, const std::vector<FoundSlice>& slices,
                          const SetCheck& check, size_t memoryBudget = kDefaultMemoryBudget,
                          const ProgressCallback& progress = {});

}  // namespace vtq::recovery
