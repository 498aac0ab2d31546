#include "cli/series_recovery.h"

#include <cstdlib>

#include "cli/console_host.h"
#include "cli/console_text.h"
#include "engine/path.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

void ReportError(const RecoveryError& error, std::FILE* err) {
  if (!error.file.empty()) {
    PrintText(err, "vtq: %s\n", FileErrorNote(error.file, error.description, error.number).c_str());
  } else {
    PrintText(err, "vtq: error %d: %s\n", error.number, ShownText(error.description).c_str());
  }
}

std::string Plural(uint64_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

std::string ReadRecoveryPercent(const std::string& text, RecoveryAmount& amount) {
  amount.percent = ParseRecoveryPercent(text);
  if (!amount.percent)
    return "bad percentage for --recovery: " + text + " (more than 0, at most 100)";
  return {};
}

std::string ReadRecoveryCount(const std::string& text, RecoveryAmount& amount) {
  const auto n = ParseSize(text);
  if (!n || *n < 1 || *n > 65535 || text.find_first_not_of("0123456789") != std::string::npos)
    return "bad count for --recovery-count: " + text + " (1 to 65535)";
  amount.count = static_cast<uint32_t>(*n);
  return {};
}

void MeterRecoveryEvents::Progress(uint64_t done, uint64_t total) {
  if (!started_) {
    meter_.Start(total, 0);
    started_ = true;
  }
  meter_.Update(done, 0);
}

void MeterRecoveryEvents::StepEnded() {
  meter_.Clear();
  started_ = false;
}

int WriteSeriesRecovery(const std::vector<std::string>& fragments, const RecoveryAmount& amount,
                        ProgressMeter& meter, bool quiet, std::FILE* out, std::FILE* err) {
  WriteRecoveryRequest request;
  request.fragments = fragments;
  request.amount = amount;
  request.creator = std::string("Created by Vantrelloquin version ") + VTQ_VERSION_TEXT + ".";
  MeterRecoveryEvents events(meter);
  const WriteRecoveryResult written = WriteSeriesRecovery(request, events);
  meter.Clear();
  switch (written.stop) {
    case WriteRecoveryStop::kNone:
      if (!quiet) {
        for (const std::string& name : written.files)
          PrintText(out, "%s\n", ShownText(name).c_str());
        PrintText(err, "vtq: %s of %llu bytes for %s in %s\n",
                  Plural(written.recoverySlices, "recovery slice").c_str(),
                  static_cast<unsigned long long>(written.sliceSize),
                  Plural(fragments.size(), "fragment").c_str(),
                  ShownText(written.files.front()).c_str());
      }
      return 0;
    case WriteRecoveryStop::kFragmentNotThere:
      PrintText(err,
                "vtq: recovery files need every fragment of the series in one folder, and %s "
                "is not there (a series written across disks); no recovery files were "
                "written\n",
                ShownText(written.absentFragment).c_str());
      return 1;
    case WriteRecoveryStop::kOutOfMemory:
      WriteText(err,
                "vtq: there is not enough memory for the recovery files' tables; no recovery files "
                "were written\n");
      return 1;
    case WriteRecoveryStop::kBeyondLimits:
      PrintText(err,
                "vtq: the series is beyond what recovery files can cover (at most "
                "32768 slices and 65535 recovery slices)\n");
      break;
    case WriteRecoveryStop::kEngineError:
      ReportError(written.error, err);
      break;
  }
  WriteText(err, "vtq: no recovery files were written\n");
  return 1;
}

void ReportRecoveryRepair(const RecoveryRepair& repair, std::FILE* out, std::FILE* err) {
  if (repair.stop == RepairStop::kNoRecoveryFiles) {
    PrintText(err, "vtq: there are no recovery files %s\n", ShownText(repair.indexFile).c_str());
    return;
  }
  for (const std::string& name : repair.unreadable)
    PrintText(err, "vtq: %s could not be read\n", ShownText(name).c_str());
  for (const std::string& name : repair.damaged)
    PrintText(err, "vtq: %s is damaged; its sound packets are used\n", ShownText(name).c_str());
  const std::string index = ShownText(repair.files.front());
  if (repair.stop == RepairStop::kSetRefused) {
    PrintText(err, "vtq: the recovery set of %s is not used: %s\n", index.c_str(),
              ShownText(repair.refusal).c_str());
    return;
  }
  if (repair.stop == RepairStop::kNoCompleteSet) {
    PrintText(err, "vtq: %s%s hold%s no complete recovery set\n", index.c_str(),
              repair.files.size() == 1 ? "" : " and its volumes",
              repair.files.size() == 1 ? "s" : "");
    return;
  }
  if (repair.setIntact) {
    PrintText(out, "sound: all %s of %s checked; nothing to rebuild\n",
              Plural(repair.setFiles, "file").c_str(),
              ShownText(BaseName(repair.files.front())).c_str());
    return;
  }
  for (const FileAtFault& file : repair.atFault) {
    if (file.missing) {
      PrintText(err, "vtq: %s is missing\n", ShownText(file.name).c_str());
    } else {
      PrintText(err, "vtq: %s is damaged (%zu of %zu slices)\n", ShownText(file.name).c_str(),
                file.lostSlices, file.slices);
    }
  }
  for (const std::string& name : repair.provenGood) {
    PrintText(err,
              "vtq: %s differs from the recovery files, but the series' own checks prove it "
              "good; it is left as it is\n",
              ShownText(name).c_str());
  }
  for (const std::string& name : repair.others) {
    PrintText(err, "vtq: %s is not a fragment of the series; it is left as it is\n",
              ShownText(name).c_str());
  }
  if (repair.outOfMemory) {
    WriteText(err, "vtq: there is not enough memory to rebuild this many lost slices at once\n");
    return;
  }
  if (repair.error) {
    ReportError(*repair.error, err);
    return;
  }
  if (!repair.problem.empty())
    PrintText(err, "vtq: nothing was rebuilt: %s\n", repair.problem.c_str());
  for (const std::string& name : repair.rebuilt)
    PrintText(out, "rebuilt: %s\n", ShownText(name).c_str());
  for (const std::string& name : repair.notRebuilt)
    PrintText(err, "vtq: could not rebuild %s\n", ShownText(name).c_str());
}

std::vector<std::string> RecoveryLines(const RecoveryCapacity& look) {
  std::vector<std::string> lines;
  if (!look.Found())
    return lines;
  const size_t count = look.files.size();
  const std::string shown = ShownText(BaseName(look.files.front())) +
                            (count > 1 ? " and " + Plural(count - 1, "volume") : "");
  const auto say = [&](const std::string& line) { lines.push_back("recovery: " + line); };
  if (!look.refusal.empty()) {
    say(shown + (count > 1 ? " are" : " is") + " not used: " + ShownText(look.refusal));
    return lines;
  }
  if (!look.setComplete) {
    say(shown + (count > 1 ? " hold" : " holds") + " no complete recovery set");
    return lines;
  }
  if (!look.checked)
    return lines;
  for (const std::string& name : look.faults.provenGood) {
    say(shown + " disagree" + (count > 1 ? "" : "s") + " with " + ShownText(name) +
        ", which the series' own checks prove good");
  }
  if (look.TooFew()) {
    say(shown + " hold " + Plural(look.recoverySlices, "recovery slice") + ", too few for the " +
        Plural(look.lostSlices, "lost slice") + " of the " + Plural(look.filesAtFault, "file") +
        " at fault");
    return lines;
  }
  const size_t faulty = look.faults.fragments.size();
  if (faulty > 0) {
    say(shown + " can rebuild the " + Plural(faulty, "fragment") + " at fault (vtq repair), and " +
        std::to_string(look.moreFragments) + " more after that");
    return lines;
  }
  say(shown + " could rebuild " + Plural(look.moreFragments, "lost fragment"));
  return lines;
}

}  // namespace vtq::cli
