#include "app/operations/series_recovery.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "app/operations/series_side_files.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "recovery/recovery_files.h"
#include "recovery/recovery_writer.h"
#include "recovery/repair.h"
#include "recovery/volume_names.h"

namespace vtq {
namespace {

using namespace vtq::recovery;

RecoveryError ErrorOf(const VbError& error) {
  return {error.Number(), error.Description(), error.FileName()};
}

// Feeds one step's progress to the events; the step ends when it goes.
class StepProgress {
 public:
  explicit StepProgress(RecoveryEvents& events) : events_(events) {}
  ~StepProgress() { events_.StepEnded(); }
  StepProgress(const StepProgress&) = delete;
  StepProgress& operator=(const StepProgress&) = delete;
  ProgressCallback Callback() {
    return [this](uint64_t done, uint64_t total) { events_.Progress(done, total); };
  }

 private:
  RecoveryEvents& events_;
};

// The most slices any one file of the set takes: what one lost fragment costs.
uint64_t SlicesPerFile(const RecoverySet& set) {
  size_t most = 1;
  for (const DescribedFile& file : set.files)
    most = std::max(most, file.slices.size());
  return most;
}

// The files of the set at fault, by full name.
std::vector<std::string> AtFault(const SetCheck& check) {
  std::vector<std::string> names;
  for (const FileCheck& file : check.files) {
    if (file.state != FileState::kIntact)
      names.push_back(file.name);
  }
  return names;
}

}  // namespace

std::optional<double> ParseRecoveryPercent(std::string text) {
  if (!text.empty() && text.back() == '%')
    text.pop_back();
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
    return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !(value > 0) || value > 100)
    return std::nullopt;
  return value;
}

WriteRecoveryResult WriteSeriesRecovery(const WriteRecoveryRequest& request,
                                        RecoveryEvents& events) {
  WriteRecoveryResult result;
  // A series written across removable disks has left the folder disk by disk.
  for (const std::string& name : request.fragments) {
    if (!CanOpenForReading(name)) {
      result.stop = WriteRecoveryStop::kFragmentNotThere;
      result.absentFragment = name;
      return result;
    }
  }
  try {
    std::vector<uint64_t> lengths;
    for (const std::string& name : request.fragments)
      lengths.push_back(FileLength(name));
    // The size of the fragments after the first, which may have its own.
    const uint64_t fragmentSize = lengths.size() > 1 ? lengths[1] : lengths.at(0);
    RecoveryRequest writing;
    writing.files = request.fragments;
    writing.prefix = RecoveryPrefixOf(request.fragments.front());
    writing.sliceSize = SliceSizeFor(fragmentSize, lengths);
    uint64_t slices = 0;
    uint64_t slicesPerFragment = 1;
    for (const uint64_t length : lengths) {
      slices += SliceCount(length, writing.sliceSize);
      slicesPerFragment = std::max(slicesPerFragment, SliceCount(length, writing.sliceSize));
    }
    writing.recoverySlices = request.amount.count > 0
                                 ? request.amount.count
                                 : RecoverySlicesFor(request.amount.percent.value_or(10), slices);
    writing.creator = request.creator;
    RecoveryWritten written;
    {
      StepProgress step(events);
      writing.progress = step.Callback();
      written = WriteRecoveryFiles(writing);
    }
    result.files = written.files;
    result.sliceSize = writing.sliceSize;
    result.recoverySlices = writing.recoverySlices;
    result.fragmentsRebuildable = writing.recoverySlices / slicesPerFragment;
  } catch (const VbError& error) {
    if (error.Number() == err::kInvalidArgument) {
      result.stop = WriteRecoveryStop::kBeyondLimits;
    } else {
      result.stop = WriteRecoveryStop::kEngineError;
      result.error = ErrorOf(error);
    }
  } catch (const std::bad_alloc&) {
    result.stop = WriteRecoveryStop::kOutOfMemory;
  }
  return result;
}

bool HasRecoveryFiles(const std::string& firstFragment) {
  return !FindRecoveryFiles(RecoveryIndexName(firstFragment)).empty();
}

RecoveryCapacity LookAtRecoveryFiles(const std::string& firstFragment, const VerifyReport& series) {
  RecoveryCapacity look;
  look.files = FindRecoveryFiles(RecoveryIndexName(firstFragment));
  if (look.files.empty())
    return look;
  const LoadedSet loaded = LoadRecoveryFiles(look.files);
  look.refusal = loaded.refusal;
  if (!loaded.refusal.empty() || !loaded.set)
    return look;
  look.setComplete = true;
  SetCheck check;
  try {
    check = CheckFiles(*loaded.set, FolderPart(firstFragment));
  } catch (const VbError&) {
    return look;
  }
  look.checked = true;
  const std::vector<std::string> atFault = AtFault(check);
  look.faults = SortRecoveryFaults(series, firstFragment, atFault);
  look.filesAtFault = atFault.size();
  look.lostSlices = check.missingSlices;
  look.recoverySlices = loaded.slices.size();
  if (!look.TooFew())
    look.moreFragments = (look.recoverySlices - look.lostSlices) / SlicesPerFile(*loaded.set);
  return look;
}

SeriesVerification VerifySeriesAndRecovery(const VerifyRequest& request, Globals& globals) {
  SeriesVerification verification;
  verification.report = VerifySeries(request, globals);
  // What the recovery files find counts as much as the series' own checks.
  verification.recovery = LookAtRecoveryFiles(request.firstFragment, verification.report);
  AddRecoveryFindings(verification.report, verification.recovery.faults);
  return verification;
}

RecoveryRepair RepairFromRecoveryFiles(const std::string& indexFile,
                                       const std::string& firstFragment, const VerifyReport& series,
                                       RecoveryEvents& events) {
  RecoveryRepair repair;
  repair.indexFile = indexFile;
  repair.files = FindRecoveryFiles(indexFile);
  if (repair.files.empty()) {
    repair.stop = RepairStop::kNoRecoveryFiles;
    return repair;
  }
  const LoadedSet loaded = LoadRecoveryFiles(repair.files);
  repair.unreadable = loaded.unreadable;
  repair.damaged = loaded.damaged;
  if (!loaded.refusal.empty()) {
    repair.stop = RepairStop::kSetRefused;
    repair.refusal = loaded.refusal;
    return repair;
  }
  if (!loaded.set) {
    repair.stop = RepairStop::kNoCompleteSet;
    return repair;
  }
  const RecoverySet& set = *loaded.set;
  repair.setFiles = set.files.size();
  const std::string folder = FolderPart(firstFragment);
  try {
    SetCheck check;
    {
      StepProgress step(events);
      check = CheckFiles(set, folder, step.Callback());
    }
    if (check.Whole()) {
      repair.setIntact = true;
      repair.wasWhole = true;
      return repair;
    }
    const RecoveryFaults faults = SortRecoveryFaults(series, firstFragment, AtFault(check));
    for (FileCheck& file : check.files) {
      file.rebuild =
          std::any_of(faults.fragments.begin(), faults.fragments.end(),
                      [&](const RecoveryFaults::Fragment& f) { return f.name == file.name; });
      if (file.rebuild && file.state != FileState::kIntact) {
        repair.atFault.push_back({file.name, file.state == FileState::kMissing,
                                  file.MissingSlices(), file.goodSlices.size()});
      }
    }
    // By name, which for a series is by fragment number.
    std::sort(repair.atFault.begin(), repair.atFault.end(),
              [](const FileAtFault& a, const FileAtFault& b) { return a.name < b.name; });
    repair.provenGood = faults.provenGood;
    repair.others = faults.others;
    if (faults.fragments.empty()) {
      repair.wasWhole = true;
      return repair;
    }
    RepairOutcome outcome;
    {
      StepProgress step(events);
      outcome = RepairFiles(set, loaded.slices, check, kDefaultMemoryBudget, step.Callback());
    }
    std::sort(outcome.rebuilt.begin(), outcome.rebuilt.end());
    std::sort(outcome.notRebuilt.begin(), outcome.notRebuilt.end());
    repair.problem = outcome.problem;
    repair.rebuilt = outcome.rebuilt;
    repair.notRebuilt = outcome.notRebuilt;
  } catch (const std::bad_alloc&) {
    repair.outOfMemory = true;
    repair.notRebuilt.push_back(indexFile);
  } catch (const VbError& error) {
    repair.error = ErrorOf(error);
    for (const FileCheck& file : CheckFiles(set, folder).files) {
      if (file.state != FileState::kIntact)
        repair.notRebuilt.push_back(file.name);
    }
    if (repair.notRebuilt.empty())
      repair.notRebuilt.push_back(indexFile);
  }
  return repair;
}

SeriesRepair RepairSeries(const RepairRequest& request, Globals& globals, RecoveryEvents& events) {
  SeriesRepair result;
  const std::string& first = request.series.firstFragment;
  const std::string index =
      request.indexFile.empty() ? RecoveryIndexName(first) : request.indexFile;
  if (CanOpenForReading(first))
    result.before = VerifySeries(request.series, globals);
  result.repair =
      RepairFromRecoveryFiles(index, first, result.before.value_or(VerifyReport{}), events);
  if (!result.repair.Whole() || !request.verifyAfter)
    return result;
  if (!CanOpenForReading(first)) {
    result.firstNotCovered = true;
    return result;
  }
  // The series as a whole, fragments the recovery files do not cover
  // included: the verdict is verify's.
  result.after = VerifySeries(request.series, globals);
  return result;
}

RepairBeforeAssembling LookBeforeAssembling(const std::string& firstFragment) {
  RepairBeforeAssembling look;
  look.indexFile = RecoveryIndexName(firstFragment);
  const std::vector<std::string> files = FindRecoveryFiles(look.indexFile);
  if (files.empty())
    return look;
  const LoadedSet loaded = LoadRecoveryFiles({files.front()});
  if (!loaded.set)
    return look;
  const std::string folder = FolderPart(firstFragment);
  for (const DescribedFile& file : loaded.set->files) {
    const std::string name = NameInFolder(folder, file.name);
    try {
      if (!CanOpenForReading(name) || FileLength(name) != file.length)
        look.lacking.push_back(name);
    } catch (const VbError&) {
      look.lacking.push_back(name);
    }
  }
  return look;
}

std::string RepairOfferText(const std::string& indexFile) {
  return "Fragments of the series are missing or damaged. Rebuild them from its recovery files (" +
         indexFile + ") first?";
}

bool AssemblyInDoubt(const RepairBeforeAssembling& look, bool repaired, bool checksumMatches) {
  return look.Offer() && !repaired && !checksumMatches;
}

}  // namespace vtq
