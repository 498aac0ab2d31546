#include "recovery/repair.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>

#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/working_file.h"
#include "recovery/file_digests.h"
#include "recovery/gf16.h"
#include "recovery/lanes.h"
#include "recovery/lost_slices.h"
#include "recovery/region_multiply.h"

namespace vtq::recovery {
namespace {

struct LostSlice {
  size_t file = 0;
  uint64_t slice = 0;
};

// The working files of the rebuilt files, discarded on every way out but
// success (WorkingFile's own rule).
class Rebuilding {
 public:
  WorkingFile& Open(const std::string& name) {
    files_.emplace_back(name);
    return files_.back();
  }
  WorkingFile& At(size_t i) { return files_[i]; }
  void CloseAll() {
    for (WorkingFile& file : files_)
      file.Close();
  }

 private:
  std::vector<WorkingFile> files_;
};

// Zeros that may be hashed to fill the last slices of the files checked,
// beyond four times the data read.
constexpr uint64_t kPaddingAllowance = uint64_t{256} << 20;

std::string MiB(uint64_t bytes) {
  return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB";
}

// Why the m x m solve for `lost` slices among `good` good ones is not
// attempted; empty when it is. Its tables are the system and its inverse
// (m x m) and the coefficients of every input for every lost slice
// (m x inputs). Its time, some m^3 multiplications one at a time (the
// choice of recovery slices and the inversion, each some 16 times slower
// than a word of a region multiply) and m^2 x inputs words of region, is
// set against the m x inputs x words of the slice that the data itself
// takes, so that it never dwarfs the work any repair of the set must do. A
// small solve is always allowed.
std::string SolveRefusal(uint64_t lost, uint64_t good, uint64_t sliceSize, size_t memoryBudget,
                         uint64_t& tableBytes) {
  const uint64_t m = lost;
  const uint64_t inputs = good + lost;
  tableBytes = (2 * m * m + m * inputs) * sizeof(Gf16);
  if (tableBytes > memoryBudget / 2) {
    return "rebuilding " + std::to_string(m) + " lost slices at once needs " + MiB(tableBytes) +
           " of tables, more than the " + MiB(memoryBudget / 2) + " a repair may take";
  }
  constexpr double kAlwaysAllowed = double{uint64_t{1} << 26};
  const auto md = static_cast<double>(m);
  const double solve = md * md * (32 * md + static_cast<double>(inputs));
  const double data = md * static_cast<double>(inputs) * static_cast<double>(sliceSize / 2);
  if (solve > 4 * data + kAlwaysAllowed) {
    return "solving for " + std::to_string(m) + " lost slices of " + std::to_string(sliceSize) +
           " bytes would take far longer than the data they hold needs";
  }
  return {};
}

// Whether a set's name with folders (sub/x) leads through a folder that is a
// link: its rebuilt file would be written wherever the link points.
bool ThroughLinkedFolder(const std::string& fullName, const std::string& setName) {
  // The full name is the folder and the set's name, its separators those of
  // the system.
  const size_t start = fullName.size() - setName.size();
  for (size_t at = setName.find_first_of("/\\"); at != std::string::npos;
       at = setName.find_first_of("/\\", at + 1)) {
    if (IsSymbolicLink(fullName.substr(0, start + at)))
      return true;
  }
  return false;
}

// The bytes a file at fault keeps of slice `s`: those of a good slice as far
// as the file holds them (it may have been cut short inside the zeros that
// end the slice).
uint64_t KeptBytes(const FileCheck& check, const DescribedFile& file, uint64_t s,
                   uint64_t sliceSize) {
  const uint64_t at = s * sliceSize;
  const uint64_t inSlice = std::min(sliceSize, file.length - at);
  return check.length <= at ? 0 : std::min(inSlice, check.length - at);
}

// What a file's digests say of it against its description. A file that
// could not be read whole has none: nothing of it is trusted.
void Judge(const DescribedFile& described, const FileDigests& found, FileCheck& file) {
  file.length = found.length;
  for (size_t s = 0; s < described.slices.size() && s < found.slices.size(); ++s)
    file.goodSlices[s] = found.slices[s].md5 == described.slices[s].md5;
  if (!found.lastSliceHashed && found.slices.size() <= described.slices.size())
    file.goodSlices[found.slices.size() - 1] = false;
  const bool same = found.length == described.length && found.md5 == described.md5;
  file.state = same ? FileState::kIntact : FileState::kDamaged;
  if (same)
    file.goodSlices.assign(described.slices.size(), true);
}

}  // namespace

size_t FileCheck::MissingSlices() const {
  return static_cast<size_t>(std::count(goodSlices.begin(), goodSlices.end(), false));
}

bool SetCheck::Whole() const {
  return std::all_of(files.begin(), files.end(),
                     [](const FileCheck& f) { return f.state == FileState::kIntact; });
}

SetCheck CheckFiles(const RecoverySet& set, const std::string& folder,
                    const ProgressCallback& progress) {
  uint64_t total = 0;
  for (const DescribedFile& file : set.files)
    total += file.length;
  std::atomic<uint64_t> done{0};
  std::atomic<uint64_t> padded{0};  // zeros hashed to fill last slices so far
  // The zeros of a last slice are hashed only within an allowance that
  // grows with the data read: a set's slices may be far larger than the
  // files at hand.
  const auto padLast = [&](uint64_t zeros) {
    const uint64_t allowance = kPaddingAllowance + 4 * done.load();
    if (padded.fetch_add(zeros) + zeros <= allowance)
      return true;
    padded.fetch_sub(zeros);
    return false;
  };
  SetCheck check;
  check.files.resize(set.files.size());
  std::vector<uint64_t> counted(set.files.size(), 0);
  // Groups of files read side by side, whose MD5s share the lanes of the
  // vector registers; a group to each thread, as many groups as make the
  // threads' shares even. The progress line is the calling thread's.
  Lanes lanes;
  const size_t count = set.files.size();
  const size_t groups = GroupsOfFilesReadTogether(count, lanes.Count());
  lanes.ForEach(groups, [&](size_t g, int lane) {
    const auto countRead = [&](size_t f, uint64_t bytes) {
      bytes = std::min(bytes, set.files[f].length);
      const uint64_t all = done.fetch_add(bytes - counted[f]) + bytes - counted[f];
      counted[f] = bytes;
      if (progress && lane == 0)
        progress(all, total);
    };
    const size_t first = g * count / groups;
    const size_t end = (g + 1) * count / groups;
    std::vector<size_t> present;
    std::vector<std::string> names;
    for (size_t f = first; f < end; ++f) {
      FileCheck& file = check.files[f];
      file.name = NameInFolder(folder, set.files[f].name);
      file.goodSlices.assign(set.files[f].slices.size(), false);
      if (CanOpenForReading(file.name)) {
        present.push_back(f);
        names.push_back(file.name);
      } else {
        file.state = FileState::kMissing;
      }
    }
    // The slices are told apart by their MD5s.
    const std::vector<std::optional<FileDigests>> digests = DigestFiles(
        names, set.sliceSize, [&](size_t i, uint64_t bytes) { countRead(present[i], bytes); },
        false, padLast);
    for (size_t i = 0; i < present.size(); ++i)
      Judge(set.files[present[i]], digests[i].value_or(FileDigests{}), check.files[present[i]]);
    for (size_t f = first; f < end; ++f)
      countRead(f, set.files[f].length);
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
    if (check.files[f].state == FileState::kIntact)
      continue;
    if (check.files[f].rebuild && !ThroughLinkedFolder(check.files[f].name, set.files[f].name))
      toRebuild.push_back(f);
    else
      outcome.leftAlone.push_back(check.files[f].name);
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
      if (check.files[f].goodSlices[s]) {
        inputs.push_back(
            {check.files[f].name, s * sliceSize, KeptBytes(check.files[f], file, s, sliceSize)});
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
  uint64_t tableBytes = 0;
  if (std::string refusal = SolveRefusal(m, goodIndex.size(), sliceSize, memoryBudget, tableBytes);
      !refusal.empty()) {
    return giveUp(std::move(refusal));
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
  const size_t goodCount = goodIndex.size();
  std::vector<Gf16> coefficients(m * inputCount, 0);
  // Lost slice k takes good input g times the sum over j of inverse[k][j]
  // times constant_g^exponent_j: the powers of one j are a row, added into
  // every lost slice's coefficients as one region, in the multiply's
  // working layout until all are in.
  const size_t goodBytes = goodCount * sizeof(Gf16);
  std::vector<Gf16> powers(goodCount);
  for (size_t j = 0; j < m; ++j) {
    for (size_t g = 0; g < goodCount; ++g)
      powers[g] = GfPower(constants[goodIndex[g]], used[j]->exponent);
    ToWorkingLayout(reinterpret_cast<uint8_t*>(powers.data()), goodBytes);
    for (size_t k = 0; k < m; ++k) {
      const Gf16 weight = system[k * m + j];
      Gf16* row = &coefficients[k * inputCount];
      row[goodCount + j] = weight;
      if (weight != 0 && goodCount > 0) {
        RegionMultiplier(weight).MultiplyAdd(reinterpret_cast<const uint8_t*>(powers.data()),
                                             reinterpret_cast<uint8_t*>(row), goodBytes);
      }
    }
  }

  for (size_t k = 0; k < m; ++k)
    FromWorkingLayout(reinterpret_cast<uint8_t*>(&coefficients[k * inputCount]), goodBytes);

  Rebuilding rebuilding;
  std::vector<size_t> writerOf(set.files.size(), 0);
  static constexpr uint8_t kZeros[4096] = {};
  for (size_t r = 0; r < toRebuild.size(); ++r) {
    const size_t f = toRebuild[r];
    writerOf[f] = r;
    WorkingFile& target = rebuilding.Open(check.files[f].name);
    // The good slices of a damaged file are taken over as they stand, with
    // the zeros it was cut short in.
    if (check.files[f].state != FileState::kDamaged)
      continue;
    File damaged(check.files[f].name, File::Mode::kRead);
    const uint64_t length = set.files[f].length;
    for (uint64_t s = 0; s < check.files[f].goodSlices.size(); ++s) {
      if (!check.files[f].goodSlices[s])
        continue;
      const uint64_t at = s * sliceSize;
      const uint64_t kept = KeptBytes(check.files[f], set.files[f], s, sliceSize);
      damaged.Seek(at);
      target.Seek(at);
      target.CopyFrom(damaged, kept, File::CopyPath::kThroughBuffer);
      for (uint64_t left = std::min(sliceSize, length - at) - kept; left > 0;) {
        const auto part = static_cast<size_t>(std::min<uint64_t>(left, sizeof kZeros));
        target.Write(kZeros, part);
        left -= part;
      }
    }
  }
  // Files whose every slice is good (bytes added at the end) need no code.
  if (m > 0) {
    const auto column = [&](size_t i, std::span<Gf16> perOutput) {
      for (size_t k = 0; k < m; ++k)
        perOutput[k] = coefficients[k * inputCount + i];
    };
    SliceCombiner combiner(sliceSize, std::move(inputs), m, column,
                           static_cast<size_t>(memoryBudget - tableBytes));
    const uint64_t total = combiner.Total();
    std::mutex writing;  // the slices come from several threads
    combiner.Run(
        [&](size_t k, uint64_t column, std::span<const uint8_t> data) {
          const DescribedFile& file = set.files[lost[k].file];
          const uint64_t at = lost[k].slice * sliceSize + column;
          if (at >= file.length || !check.files[lost[k].file].rebuild)
            return;
          const std::lock_guard lock(writing);
          WorkingFile& target = rebuilding.At(writerOf[lost[k].file]);
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
  for (size_t r = 0; r < toRebuild.size(); ++r) {
    const size_t f = toRebuild[r];
    WorkingFile& working = rebuilding.At(r);
    // Its length and MD5 say it all: its last slice need not be padded.
    const FileDigests digests =
        DigestFile(working.Name(), sliceSize, {}, false, [](uint64_t) { return false; });
    if (digests.length == set.files[f].length && digests.md5 == set.files[f].md5) {
      working.Complete();
      outcome.rebuilt.push_back(check.files[f].name);
    } else {
      outcome.notRebuilt.push_back(check.files[f].name);
    }
  }
  return outcome;
}

}  // namespace vtq::recovery
