#include "cli/series_recovery.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "cli/console_host.h"
#include "cli/console_text.h"
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
    PrintText(err, "vtq: %s\n",
              FileErrorNote(error.FileName(), error.Description(), error.Number()).c_str());
  } else {
    PrintText(err, "vtq: error %d: %s\n", error.Number(), ShownText(error.Description()).c_str());
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

}  // namespace

std::string RecoveryPrefixOf(const std::string& fragment) {
  return FolderPart(fragment) + StemOf(BaseName(fragment));
}

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
      PrintText(err,
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
    for (const std::string& name : written.files)
      PrintText(out, "%s\n", ShownText(name).c_str());
    if (!quiet) {
      PrintText(err, "vtq: %s of %llu bytes for %s in %s\n",
                Plural(request.recoverySlices, "recovery slice").c_str(),
                static_cast<unsigned long long>(request.sliceSize),
                Plural(fragments.size(), "fragment").c_str(),
                ShownText(written.files.front()).c_str());
    }
    return 0;
  } catch (const VbError& error) {
    meter.Clear();
    if (error.Number() == err::kInvalidArgument) {
      PrintText(err,
                "vtq: the series is beyond what recovery files can cover (at most "
                "32768 slices and 65535 recovery slices)\n");
    } else {
      ReportError(error, err);
    }
    WriteText(err, "vtq: no recovery files were written\n");
    return 1;
  } catch (const std::bad_alloc&) {
    meter.Clear();
    WriteText(err,
              "vtq: there is not enough memory for the recovery files' tables; no recovery files "
              "were written\n");
    return 1;
  }
}

RepairReport RepairFromRecoveryFiles(const std::string& indexFile, ProgressMeter& meter,
                                     std::FILE* out, std::FILE* err) {
  RepairReport report;
  const std::vector<std::string> files = FindRecoveryFiles(indexFile);
  if (files.empty()) {
    PrintText(err, "vtq: there are no recovery files %s\n", ShownText(indexFile).c_str());
    return report;
  }
  const LoadedSet loaded = LoadRecoveryFiles(files);
  for (const std::string& name : loaded.unreadable)
    PrintText(err, "vtq: %s could not be read\n", ShownText(name).c_str());
  for (const std::string& name : loaded.damaged) {
    PrintText(err, "vtq: %s is damaged; its sound packets are used\n", ShownText(name).c_str());
  }
  if (!loaded.nameOutside.empty()) {
    PrintText(err,
              "vtq: the recovery set of %s names a file outside its folder (%s); it is not "
              "used\n",
              ShownText(files.front()).c_str(), ShownText(loaded.nameOutside).c_str());
    return report;
  }
  if (!loaded.set) {
    PrintText(err, "vtq: %s%s hold%s no complete recovery set\n", ShownText(files.front()).c_str(),
              files.size() == 1 ? "" : " and its volumes", files.size() == 1 ? "s" : "");
    return report;
  }
  report.setFound = true;
  const RecoverySet& set = *loaded.set;
  const std::string folder = FolderPart(files.front());
  try {
    bool started = false;
    const auto progress = [&](uint64_t done, uint64_t total) {
      if (!started) {
        meter.Start(total, 0);
        started = true;
      }
      meter.Update(done, 0);
    };
    const SetCheck check = CheckFiles(set, folder, progress);
    meter.Clear();
    if (check.Whole()) {
      report.wasWhole = true;
      PrintText(out, "sound: all %s of %s checked; nothing to rebuild\n",
                Plural(set.files.size(), "file").c_str(),
                ShownText(BaseName(files.front())).c_str());
      return report;
    }
    // By name, which for a series is by fragment number.
    std::vector<FileCheck> byName = check.files;
    std::sort(byName.begin(), byName.end(),
              [](const FileCheck& a, const FileCheck& b) { return a.name < b.name; });
    for (const FileCheck& file : byName) {
      if (file.state == FileState::kMissing) {
        PrintText(err, "vtq: %s is missing\n", ShownText(file.name).c_str());
      } else if (file.state == FileState::kDamaged) {
        PrintText(err, "vtq: %s is damaged (%zu of %zu slices)\n", ShownText(file.name).c_str(),
                  file.MissingSlices(), file.goodSlices.size());
      }
    }
    started = false;
    RepairOutcome outcome = RepairFiles(set, loaded.slices, check, kDefaultMemoryBudget, progress);
    meter.Clear();
    std::sort(outcome.rebuilt.begin(), outcome.rebuilt.end());
    std::sort(outcome.notRebuilt.begin(), outcome.notRebuilt.end());
    if (!outcome.problem.empty())
      PrintText(err, "vtq: nothing was rebuilt: %s\n", outcome.problem.c_str());
    for (const std::string& name : outcome.rebuilt)
      PrintText(out, "rebuilt: %s\n", ShownText(name).c_str());
    for (const std::string& name : outcome.notRebuilt)
      PrintText(err, "vtq: could not rebuild %s\n", ShownText(name).c_str());
    report.rebuilt = outcome.rebuilt;
    report.notRebuilt = outcome.notRebuilt;
  } catch (const std::bad_alloc&) {
    meter.Clear();
    WriteText(err, "vtq: there is not enough memory to rebuild this many lost slices at once\n");
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

bool RecoverySetLacksAFile(const std::string& indexFile) {
  const std::vector<std::string> files = FindRecoveryFiles(indexFile);
  if (files.empty())
    return false;
  const LoadedSet loaded = LoadRecoveryFiles({files.front()});
  if (!loaded.set)
    return false;
  const std::string folder = FolderPart(files.front());
  for (const DescribedFile& file : loaded.set->files) {
    const std::string name = NameInFolder(folder, file.name);
    if (!CanOpenForReading(name))
      return true;
    try {
      if (FileLength(name) != file.length)
        return true;
    } catch (const VbError&) {
      return true;
    }
  }
  return false;
}

void ReportRecoveryCapacity(const std::string& firstFragment, std::FILE* out) {
  const std::string index = IndexFileName(RecoveryPrefixOf(firstFragment));
  const std::vector<std::string> files = FindRecoveryFiles(index);
  if (files.empty())
    return;
  const LoadedSet loaded = LoadRecoveryFiles(files);
  const std::string shown = ShownText(BaseName(files.front())) +
                            (files.size() > 1 ? " and " + Plural(files.size() - 1, "volume") : "");
  if (!loaded.set) {
    PrintText(out, "recovery: %s hold%s no complete recovery set\n", shown.c_str(),
              files.size() > 1 ? "" : "s");
    return;
  }
  SetCheck check;
  try {
    check = CheckFiles(*loaded.set, FolderPart(files.front()));
  } catch (const VbError&) {
    return;
  }
  const size_t available = loaded.slices.size();
  const size_t faulty = static_cast<size_t>(
      std::count_if(check.files.begin(), check.files.end(),
                    [](const FileCheck& f) { return f.state != FileState::kIntact; }));
  if (check.missingSlices > available) {
    PrintText(out, "recovery: %s hold %s, too few for the %s of the %s at fault\n", shown.c_str(),
              Plural(available, "recovery slice").c_str(),
              Plural(check.missingSlices, "lost slice").c_str(), Plural(faulty, "file").c_str());
    return;
  }
  const uint64_t more = (available - check.missingSlices) / SlicesPerFile(*loaded.set);
  if (faulty > 0) {
    PrintText(out,
              "recovery: %s can rebuild the %s at fault (vtq repair), and %s more after that\n",
              shown.c_str(), Plural(faulty, "fragment").c_str(), std::to_string(more).c_str());
    return;
  }
  PrintText(out, "recovery: %s could rebuild %s\n", shown.c_str(),
            Plural(static_cast<size_t>(more), "lost fragment").c_str());
}

}  // namespace vtq::cli
