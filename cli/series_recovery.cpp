#include "cli/series_recovery.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "app/operations/series_side_files.h"
#include "cli/console_host.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/shown_text.h"
#include "recovery/recovery_files.h"
#include "recovery/recovery_writer.h"
#include "recovery/repair.h"
#include "recovery/volume_names.h"

namespace vtq::cli {
namespace {

using namespace vtq::recovery;

std::string FolderPart(const std::string& name) {
  return name.substr(0, name.size() - BaseName(name).size());
}

void ReportError(const VbError& error, std::FILE* err) {
  if (!error.FileName().empty()) {
    std::fprintf(err, "vtq: %s\n",
                 FileErrorNote(error.FileName(), error.Description(), error.Number()).c_str());
  } else {
    std::fprintf(err, "vtq: error %d: %s\n", error.Number(),
                 ShownText(error.Description()).c_str());
  }
}

std::string Plural(size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

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

std::string ReadRecoveryPercent(const std::string& text, RecoveryAmount& amount) {
  std::string number = text;
  if (!number.empty() && number.back() == '%')
    number.pop_back();
  char* end = nullptr;
  const double value = number.empty() ? 0 : std::strtod(number.c_str(), &end);
  if (number.empty() || end != number.c_str() + number.size() ||
      number.find_first_not_of("0123456789.") != std::string::npos || !(value > 0) || value > 100) {
    return "bad percentage for --recovery: " + text + " (more than 0, at most 100)";
  }
  amount.percent = value;
  return {};
}

std::string ReadRecoveryCount(const std::string& text, RecoveryAmount& amount) {
  const auto n = ParseSize(text);
  if (!n || *n < 1 || *n > 65535 || text.find_first_not_of("0123456789") != std::string::npos)
    return "bad count for --recovery-count: " + text + " (1 to 65535)";
  amount.count = static_cast<uint32_t>(*n);
  return {};
}

int WriteSeriesRecovery(const std::vector<std::string>& fragments, const RecoveryAmount& amount,
                        ProgressMeter& meter, bool quiet, std::FILE* out, std::FILE* err) {
  // A series written across removable disks has left the folder disk by disk.
  for (const std::string& name : fragments) {
    if (!CanOpenForReading(name)) {
      std::fprintf(err,
                   "vtq: recovery files need every fragment of the series in one folder, and %s "
                   "is not there (a series written across disks); no recovery files were "
                   "written\n",
                   ShownText(name).c_str());
      return 1;
    }
  }
  try {
    std::vector<uint64_t> lengths;
    for (const std::string& name : fragments)
      lengths.push_back(FileLength(name));
    // The size of the fragments after the first, which may have its own.
    const uint64_t fragmentSize = lengths.size() > 1 ? lengths[1] : lengths.at(0);
    RecoveryRequest request;
    request.files = fragments;
    request.prefix = RecoveryPrefixOf(fragments.front());
    request.sliceSize = SliceSizeFor(fragmentSize, lengths);
    uint64_t slices = 0;
    for (const uint64_t length : lengths)
      slices += SliceCount(length, request.sliceSize);
    request.recoverySlices =
        amount.count > 0 ? amount.count : RecoverySlicesFor(amount.percent.value_or(10), slices);
    request.creator = std::string("Created by Vantrelloquin version ") + VTQ_VERSION_TEXT + ".";
    bool started = false;
    request.progress = [&](uint64_t done, uint64_t total) {
      if (!started) {
        meter.Start(total, 0);
        started = true;
      }
      meter.Update(done, 0);
    };
    const RecoveryWritten written = WriteRecoveryFiles(request);
    meter.Clear();
    if (!quiet) {
      for (const std::string& name : written.files)
        std::fprintf(out, "%s\n", ShownText(name).c_str());
      std::fprintf(err, "vtq: %s of %llu bytes for %s in %s\n",
                   Plural(request.recoverySlices, "recovery slice").c_str(),
                   static_cast<unsigned long long>(request.sliceSize),
                   Plural(fragments.size(), "fragment").c_str(),
                   ShownText(written.files.front()).c_str());
    }
    return 0;
  } catch (const VbError& error) {
    meter.Clear();
    if (error.Number() == err::kInvalidArgument) {
      std::fprintf(err,
                   "vtq: the series is beyond what recovery files can cover (at most "
                   "32768 slices and 65535 recovery slices)\n");
    } else {
      ReportError(error, err);
    }
    std::fputs("vtq: no recovery files were written\n", err);
    return 1;
  } catch (const std::bad_alloc&) {
    meter.Clear();
    std::fputs(
        "vtq: there is not enough memory for the recovery files' tables; no recovery files "
        "were written\n",
        err);
    return 1;
  }
}

RepairReport RepairFromRecoveryFiles(const std::string& indexFile, const std::string& firstFragment,
                                     const VerifyReport& series, ProgressMeter& meter,
                                     std::FILE* out, std::FILE* err) {
  RepairReport report;
  const std::vector<std::string> files = FindRecoveryFiles(indexFile);
  if (files.empty()) {
    std::fprintf(err, "vtq: there are no recovery files %s\n", ShownText(indexFile).c_str());
    return report;
  }
  const LoadedSet loaded = LoadRecoveryFiles(files);
  for (const std::string& name : loaded.unreadable)
    std::fprintf(err, "vtq: %s could not be read\n", ShownText(name).c_str());
  for (const std::string& name : loaded.damaged) {
    std::fprintf(err, "vtq: %s is damaged; its sound packets are used\n", ShownText(name).c_str());
  }
  if (!loaded.refusal.empty()) {
    std::fprintf(err, "vtq: the recovery set of %s is not used: %s\n",
                 ShownText(files.front()).c_str(), ShownText(loaded.refusal).c_str());
    return report;
  }
  if (!loaded.set) {
    std::fprintf(err, "vtq: %s%s hold%s no complete recovery set\n",
                 ShownText(files.front()).c_str(), files.size() == 1 ? "" : " and its volumes",
                 files.size() == 1 ? "s" : "");
    return report;
  }
  report.setFound = true;
  const RecoverySet& set = *loaded.set;
  // The set's names are the series' fragments, wherever the set itself lies.
  const std::string folder = FolderPart(firstFragment);
  try {
    bool started = false;
    const auto progress = [&](uint64_t done, uint64_t total) {
      if (!started) {
        meter.Start(total, 0);
        started = true;
      }
      meter.Update(done, 0);
    };
    SetCheck check = CheckFiles(set, folder, progress);
    meter.Clear();
    if (check.Whole()) {
      report.wasWhole = true;
      std::fprintf(out, "sound: all %s of %s checked; nothing to rebuild\n",
                   Plural(set.files.size(), "file").c_str(),
                   ShownText(BaseName(files.front())).c_str());
      return report;
    }
    const RecoveryFaults faults = SortRecoveryFaults(series, firstFragment, AtFault(check));
    for (FileCheck& file : check.files) {
      file.rebuild =
          std::any_of(faults.fragments.begin(), faults.fragments.end(),
                      [&](const RecoveryFaults::Fragment& f) { return f.name == file.name; });
    }
    // By name, which for a series is by fragment number.
    std::vector<FileCheck> byName = check.files;
    std::sort(byName.begin(), byName.end(),
              [](const FileCheck& a, const FileCheck& b) { return a.name < b.name; });
    for (const FileCheck& file : byName) {
      if (!file.rebuild)
        continue;
      if (file.state == FileState::kMissing) {
        std::fprintf(err, "vtq: %s is missing\n", ShownText(file.name).c_str());
      } else if (file.state == FileState::kDamaged) {
        std::fprintf(err, "vtq: %s is damaged (%zu of %zu slices)\n", ShownText(file.name).c_str(),
                     file.MissingSlices(), file.goodSlices.size());
      }
    }
    for (const std::string& name : faults.provenGood) {
      std::fprintf(err,
                   "vtq: %s differs from the recovery files, but the series' own checks prove it "
                   "good; it is left as it is\n",
                   ShownText(name).c_str());
    }
    for (const std::string& name : faults.others) {
      std::fprintf(err, "vtq: %s is not a fragment of the series; it is left as it is\n",
                   ShownText(name).c_str());
    }
    if (faults.fragments.empty()) {
      report.wasWhole = true;
      return report;
    }
    started = false;
    RepairOutcome outcome = RepairFiles(set, loaded.slices, check, kDefaultMemoryBudget, progress);
    meter.Clear();
    std::sort(outcome.rebuilt.begin(), outcome.rebuilt.end());
    std::sort(outcome.notRebuilt.begin(), outcome.notRebuilt.end());
    if (!outcome.problem.empty())
      std::fprintf(err, "vtq: nothing was rebuilt: %s\n", outcome.problem.c_str());
    for (const std::string& name : outcome.rebuilt)
      std::fprintf(out, "rebuilt: %s\n", ShownText(name).c_str());
    for (const std::string& name : outcome.notRebuilt)
      std::fprintf(err, "vtq: could not rebuild %s\n", ShownText(name).c_str());
    report.rebuilt = outcome.rebuilt;
    report.notRebuilt = outcome.notRebuilt;
  } catch (const std::bad_alloc&) {
    meter.Clear();
    std::fputs("vtq: there is not enough memory to rebuild this many lost slices at once\n", err);
    report.notRebuilt.push_back(indexFile);
  } catch (const VbError& error) {
    meter.Clear();
    ReportError(error, err);
    for (const FileCheck& file : CheckFiles(set, folder).files) {
      if (file.state != FileState::kIntact)
        report.notRebuilt.push_back(file.name);
    }
    if (report.notRebuilt.empty())
      report.notRebuilt.push_back(indexFile);
  }
  return report;
}

std::vector<std::string> FilesTheRecoverySetLacks(const std::string& firstFragment) {
  const std::vector<std::string> files = FindRecoveryFiles(RecoveryIndexName(firstFragment));
  if (files.empty())
    return {};
  const LoadedSet loaded = LoadRecoveryFiles({files.front()});
  if (!loaded.set)
    return {};
  const std::string folder = FolderPart(firstFragment);
  std::vector<std::string> lacking;
  for (const DescribedFile& file : loaded.set->files) {
    const std::string name = NameInFolder(folder, file.name);
    try {
      if (!CanOpenForReading(name) || FileLength(name) != file.length)
        lacking.push_back(name);
    } catch (const VbError&) {
      lacking.push_back(name);
    }
  }
  return lacking;
}

RecoveryLook LookAtRecoveryFiles(const std::string& firstFragment, const VerifyReport& series) {
  RecoveryLook look;
  const std::vector<std::string> files = FindRecoveryFiles(RecoveryIndexName(firstFragment));
  if (files.empty())
    return look;
  const LoadedSet loaded = LoadRecoveryFiles(files);
  const std::string shown = ShownText(BaseName(files.front())) +
                            (files.size() > 1 ? " and " + Plural(files.size() - 1, "volume") : "");
  const auto say = [&](const std::string& line) { look.lines.push_back("recovery: " + line); };
  if (!loaded.refusal.empty()) {
    say(shown + (files.size() > 1 ? " are" : " is") + " not used: " + ShownText(loaded.refusal));
    return look;
  }
  if (!loaded.set) {
    say(shown + (files.size() > 1 ? " hold" : " holds") + " no complete recovery set");
    return look;
  }
  SetCheck check;
  try {
    check = CheckFiles(*loaded.set, FolderPart(firstFragment));
  } catch (const VbError&) {
    return look;
  }
  look.faults = SortRecoveryFaults(series, firstFragment, AtFault(check));
  for (const std::string& name : look.faults.provenGood) {
    say(shown + " disagree" + (files.size() > 1 ? "" : "s") + " with " + ShownText(name) +
        ", which the series' own checks prove good");
  }
  const size_t available = loaded.slices.size();
  const size_t faulty = look.faults.fragments.size();
  if (check.missingSlices > available) {
    say(shown + " hold " + Plural(available, "recovery slice") + ", too few for the " +
        Plural(check.missingSlices, "lost slice") + " of the " +
        Plural(AtFault(check).size(), "file") + " at fault");
    return look;
  }
  const uint64_t more = (available - check.missingSlices) / SlicesPerFile(*loaded.set);
  if (faulty > 0) {
    say(shown + " can rebuild the " + Plural(faulty, "fragment") + " at fault (vtq repair), and " +
        std::to_string(more) + " more after that");
    return look;
  }
  say(shown + " could rebuild " + Plural(static_cast<size_t>(more), "lost fragment"));
  return look;
}

}  // namespace vtq::cli
