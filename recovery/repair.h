#pragma once
// Checking the files of a recovery set against it, and rebuilding the lost
// and damaged ones from the good slices and the recovery slices. A damaged
// file keeps its good slices (checked where they stand: data that moved is
// not looked for); a rebuilt file is written beside its name and moved over
// it once its MD5 is the set's.

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
  std::vector<bool> goodSlices;  // by slice of the set's description
  size_t MissingSlices() const;
};

struct SetCheck {
  std::vector<FileCheck> files;  // in the set's order
  size_t missingSlices = 0;
  bool Whole() const;
};

using ProgressCallback = std::function<void(uint64_t done, uint64_t total)>;

// The files named in `set`, looked for in `folder` (ending in its separator,
// or empty for the working folder).
SetCheck CheckFiles(const RecoverySet& set, const std::string& folder,
                    const ProgressCallback& progress = {});

struct RepairOutcome {
  std::vector<std::string> rebuilt;
  std::vector<std::string> notRebuilt;
  // Why nothing was rebuilt, when nothing could be.
  std::string problem;
};

// The writer's name for a file being rebuilt.
std::string RebuildingName(const std::string& name);

// Rebuilds the files `check` found missing or damaged. Needs as many sound
// recovery slices as slices are missing; with fewer, writes nothing.
// Raises the engine's errors of reading and writing.
RepairOutcome RepairFiles(const RecoverySet& set, const std::vector<FoundSlice>& slices,
                          const SetCheck& check, size_t memoryBudget = kDefaultMemoryBudget,
                          const ProgressCallback& progress = {});

}  // namespace vtq::recovery
