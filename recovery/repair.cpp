#include "recovery/repair.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>

#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "recovery/file_digests.h"
#include "recovery/gf16.h"
#include "recovery/lanes.h"
#include "recovery/lost_slices.h"

namespace vtq::recovery {
namespace {

struct LostSlice {
  size_t file = 0;
  uint64_t slice = 0;
};

// Removes the half-written files on every way out but success.
class Rebuilding {
 public:
  ~Rebuilding() {
    files_.clear();
    for (const std::string& name : names_) {
      try {
        RemoveFile(name);
      } catch (const VbError&) {
        // Never created, or already moved over its target.
      }
    }
  }
  File& Open(const std::string& name) {
    names_.push_back(name);
    files_.emplace_back(name, File::Mode::kReplace);
    return files_.back();
  }
  File& At(size_t i) { return files_[i]; }
  void CloseAll() {
    for (File& file : files_)
      file.Close();
  }

 private:
  std::vector<std::string> names_;
  std::vector<File> files_;
};

}  // namespace

size_t FileCheck::MissingSlices() const {
  return static_cast<size_t>(std::count(goodSlices.begin(), goodSlices.end(), false));
}

bool SetCheck::Whole() const {
  return std::all_of(files.begin(), files.end(),
                     [](const FileCheck& f) { return f.state == FileState::kIntact; });
}

std::string RebuildingName(const std::string& name) {
  return name + ".rebuilding";
}

SetCheck CheckFiles(const RecoverySet& set, const std::string& folder,
                    const ProgressCallback& progress) {
  uint64_t total = 0;
  for (const DescribedFile& file : set.files)
    total += file.length;
  // A file to each thread; the progress line is the calling thread's.
  std::atomic<uint64_t> done{0};
  SetCheck check;
  check.files.resize(set.files.size());
  Lanes().ForEach(set.files.size(), [&](size_t f, int lane) {
    const DescribedFile& described = set.files[f];
    FileCheck& file = check.files[f];
    file.name = NameInFolder(folder, described.name);
    file.goodSlices.assign(described.slices.size(), false);
    uint64_t counted = 0;
    const auto count = [&](uint64_t bytes) {
      bytes = std::min(bytes, described.length);
      const uint64_t all = done.fetch_add(bytes - counted) + bytes - counted;
      counted = bytes;
      if (progress && lane == 0)
        progress(all, total);
    };
    if (!CanOpenForReading(file.name)) {
      file.state = FileState::kMissing;
    } else {
      FileDigests found;
      try {
        // The slices are told apart by their MD5s.
        found = DigestFile(file.name, set.sliceSize, count, false);
      } catch (const VbError&) {
        found = {};  // unreadable in part: nothing of it is trusted
      }
      for (size_t s = 0; s < described.slices.size() && s < found.slices.size(); ++s)
        file.goodSlices[s] = found.slices[s].md5 == described.slices[s].md5;
      const bool same = found.length == described.length && found.md5 == described.md5;
      file.state = same ? FileState::kIntact : FileState::kDamaged;
      if (same)
        file.goodSlices.assign(described.slices.size(), true);
    }
    count(described.length);
  });
  for (const FileCheck& file : check.files)
    check.missingSlices += file.MissingSlices();
  if (progress)
    progress(total, total);
  return check;
}

RepairOutcome RepairFiles(const RecoverySet& set, const std::vector<FoundSlice>& slices,
                          const SetCheck& check, size_t memoryBudget,
                          const ProgressCallback& progress) {
  RepairOutcome outcome;
  std::vector<size_t> toRebuild;
  for (size_t f = 0; f < check.files.size(); ++f) {
    if (check.files[f].state != FileState::kIntact)
      toRebuild.push_back(f);
  }
  if (toRebuild.empty())
    return outcome;
  const auto giveUp = [&](std::string problem) {
    for (const size_t f : toRebuild)
      outcome.notRebuilt.push_back(check.files[f].name);
    outcome.problem = std::move(problem);
    return outcome;
  };

  // The inputs of the code in its order, good and lost.
  const uint64_t sliceSize = set.sliceSize;
  std::vector<SliceInput> inputs;
  std::vector<size_t> goodIndex;  // the code's index of each good input
  std::vector<LostSlice> lost;
  std::vector<size_t> lostIndex;
  size_t index = 0;
  for (size_t f = 0; f < set.files.size(); ++f) {
    const DescribedFile& file = set.files[f];
    for (uint64_t s = 0; s < file.slices.size(); ++s, ++index) {
      const uint64_t at = s * sliceSize;
      if (check.files[f].goodSlices[s]) {
        inputs.push_back({check.files[f].name, at, std::min(sliceSize, file.length - at)});
        goodIndex.push_back(index);
      } else {
        lost.push_back({f, s});
        lostIndex.push_back(index);
      }
    }
  }
  const size_t m = lost.size();
  if (m > slices.size()) {
    return giveUp("the recovery files hold " + std::to_string(slices.size()) +
                  " sound recovery slices, " + std::to_string(m) + " are needed");
  }
  const std::vector<Gf16> constants = InputSliceConstants(index);
  // Recovery slice j is the sum over every input i of constant_i^exponent_j
  // times input i; the lost inputs solve the system of m of the slices.
  std::vector<Gf16> lostConstants;
  for (const size_t i : lostIndex)
    lostConstants.push_back(constants[i]);
  std::vector<uint32_t> exponents;
  for (const FoundSlice& slice : slices)
    exponents.push_back(slice.exponent);
  const std::optional<LostSliceSolution> solution =
      m > 0 ? SolveLostSlices(lostConstants, exponents) : LostSliceSolution{};
  if (!solution)
    return giveUp("the recovery slices at hand do not determine the lost data");
  const std::vector<Gf16>& system = solution->inverse;
  std::vector<const FoundSlice*> used;
  for (const size_t j : solution->used) {
    used.push_back(&slices[j]);
    inputs.push_back({slices[j].file, slices[j].dataOffset, sliceSize});
  }
  const size_t inputCount = inputs.size();
  std::vector<Gf16> coefficients(m * inputCount, 0);
  for (size_t k = 0; k < m; ++k) {
    Gf16* row = &coefficients[k * inputCount];
    for (size_t j = 0; j < m; ++j) {
      const Gf16 weight = system[k * m + j];
      row[goodIndex.size() + j] = weight;
      if (weight == 0)
        continue;
      for (size_t g = 0; g < goodIndex.size(); ++g)
        row[g] ^= GfMultiply(weight, GfPower(constants[goodIndex[g]], used[j]->exponent));
    }
  }

  Rebuilding rebuilding;
  std::vector<size_t> writerOf(set.files.size(), 0);
  for (size_t r = 0; r < toRebuild.size(); ++r) {
    const size_t f = toRebuild[r];
    writerOf[f] = r;
    File& target = rebuilding.Open(RebuildingName(check.files[f].name));
    // The good slices of a damaged file are taken over as they stand.
    if (check.files[f].state == FileState::kDamaged) {
      File damaged(check.files[f].name, File::Mode::kRead);
      const uint64_t length = set.files[f].length;
      for (uint64_t s = 0; s < check.files[f].goodSlices.size(); ++s) {
        if (!check.files[f].goodSlices[s])
          continue;
        const uint64_t at = s * sliceSize;
        damaged.Seek(at);
        target.Seek(at);
        damaged.CopyTo(target, std::min(sliceSize, length - at), File::CopyPath::kThroughBuffer);
      }
    }
  }
  // Files whose every slice is good (bytes added at the end) need no code.
  if (m > 0) {
    const auto column = [&](size_t i, std::span<Gf16> perOutput) {
      for (size_t k = 0; k < m; ++k)
        perOutput[k] = coefficients[k * inputCount + i];
    };
    SliceCombiner combiner(sliceSize, std::move(inputs), m, column, memoryBudget);
    const uint64_t total = combiner.Total();
    std::mutex writing;  // the slices come from several threads
    combiner.Run(
        [&](size_t k, uint64_t column, std::span<const uint8_t> data) {
          const DescribedFile& file = set.files[lost[k].file];
          const uint64_t at = lost[k].slice * sliceSize + column;
          if (at >= file.length)
            return;
          const std::lock_guard lock(writing);
          File& target = rebuilding.At(writerOf[lost[k].file]);
          target.Seek(at);
          target.Write(data.data(),
                       static_cast<size_t>(std::min<uint64_t>(data.size(), file.length - at)));
        },
        {},
        [&](uint64_t done) {
          if (progress)
            progress(done, total);
        });
  }
  rebuilding.CloseAll();
  for (const size_t f : toRebuild) {
    const std::string& name = check.files[f].name;
    const std::string working = RebuildingName(name);
    const FileDigests digests = DigestFile(working, sliceSize);
    if (digests.length == set.files[f].length && digests.md5 == set.files[f].md5) {
      ReplaceFile(working, name);
      outcome.rebuilt.push_back(name);
    } else {
      outcome.notRebuilt.push_back(name);
    }
  }
  return outcome;
}

}  // namespace vtq::recovery
