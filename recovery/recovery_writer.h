#pragma once
// Writing the PAR 2.0 recovery files of a set of files that share a folder:
// the index file and its volumes (recovery/volume_names.h), each with the
// set's main, file description, slice checksum and creator packets, the
// volumes with their recovery slices first. Every file is read once when
// the slices of all recovery data fit the memory budget, and once more per
// column range beyond that; nothing is held whole.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "recovery/packets.h"
#include "recovery/slice_combiner.h"

namespace vtq::recovery {

struct RecoveryRequest {
  // Full names; the set records their base names.
  std::vector<std::string> files;
  // The recovery files' names up to "par2" / "vol": folder and stem.
  std::string prefix;
  uint64_t sliceSize = 0;  // a multiple of 4
  uint32_t recoverySlices = 0;
  std::string creator = "Created by Vantrelloquin.";
  size_t memoryBudget = kDefaultMemoryBudget;
  int lanes = 0;  // threads sharing the work (recovery/lanes.h); 0: one per processor
  // Bytes read of `total`, as the work goes on.
  std::function<void(uint64_t done, uint64_t total)> progress;
};

struct RecoveryWritten {
  RecoverySet set;
  std::vector<std::string> files;  // the index file first, then the volumes
};

// Raises the engine's errors of reading and writing, kInvalidArgument for a
// set beyond the format (more than 32,768 slices, more than 65,535 recovery
// slices, a slice size that is no multiple of 4), and 58 (file already
// exists) about a recovery file's name that is one of `files`. The files
// are written under working names and take their own names only once all
// are complete: after a failure nothing has changed.
RecoveryWritten WriteRecoveryFiles(const RecoveryRequest& request);

// The slice size for fragments of `fragmentSize` bytes (files of `lengths`):
// the fragment size rounded up to a multiple of 4, so that each fragment is
// one slice, or a multiple of it when the set would otherwise have more
// slices than the format allows.
uint64_t SliceSizeFor(uint64_t fragmentSize, const std::vector<uint64_t>& lengths);

// The recovery slices for `percent` of `sourceSlices` slices, rounded up,
// at least 1.
uint32_t RecoverySlicesFor(double percent, uint64_t sourceSlices);

}  // namespace vtq::recovery
