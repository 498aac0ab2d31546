// vtq assemble FIRST [-d DIR] [-p PASSPHRASE | --passphrase-file FILE]
//              [--unknown-as raw|old] [--repair] [--yes|--no] [-v|-q]

#include <cstdio>
#include <optional>
#include <utility>

#include "app/operations/assemble_operation.h"
#include "app/operations/error_dialog.h"
#include "app/operations/series_recovery.h"
#include "cli/assemble_events.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_text.h"
#include "cli/console_prompts.h"
#include "cli/passphrase_source.h"
#include "cli/progress_meter.h"
#include "cli/series_recovery.h"
#include "cli/terminal.h"
#include "cli/verify_command.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

// Whatever a run kept of a series that ended early is named, so that it is
// not taken for the finished file.
void ReportKeptPartials(const AssembleResult& result) {
  for (const std::string& kept : result.keptPartials) {
    PrintText(stderr, "vtq: the series is incomplete; what was assembled is kept as %s\n",
              ShownText(kept).c_str());
  }
}

// The engine's failure, naming the fragment or file it was about when it
// says; the refused check was the person's own answer and needs no words.
void ReportEngineError(const AssembleResult& result) {
  if (result.errorNumber == kCheckabilityFailed)
    return;
  if (!result.errorFile.empty()) {
    PrintText(stderr, "vtq: %s\n",
              FileErrorNote(result.errorFile, result.errorDescription, result.errorNumber).c_str());
    return;
  }
  PrintText(stderr, "%s\n",
            BoxLine("Runtime error " + std::to_string(result.errorNumber) + ": " +
                        result.errorDescription,
                    kErrorDialogTitle)
                .c_str());
}

// After a failure for want of a sound fragment: the way to the repair when
// the series has recovery files.
void PointToRepair(const std::string& first) {
  if (!HasRecoveryFiles(first))
    return;
  PrintText(stderr,
            "vtq: the series has recovery files: vtq repair %s rebuilds what it can, or "
            "assemble again with --repair\n",
            ShownText(first).c_str());
}

int MissingInformation(const char* text, const char* title) {
  PrintText(stderr, "%s\n", BoxLine(text, title).c_str());
  return 2;
}

}  // namespace

int RunAssemble(std::vector<std::string> args) {
  if (HelpAsked(args)) {
    WriteText(stdout, std::string(AssembleHelp()).c_str());
    return 0;
  }
  ParsedArgs parsed = ParseArgs(args, {"-d", "-p", "--passphrase-file", "--unknown-as"},
                                {"--yes", "--no", "-q", "-v", "--repair"});
  for (std::string& arg : args)
    SecureWipe(arg);
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.positionals.empty()) {
    return MissingInformation("Please select a fragment to assemble first!",
                              "Not enough information.");
  }
  if (parsed.positionals.size() > 1)
    return UsageError("assemble takes one first fragment");
  // The drive of the first fragment tells whether the series is read from
  // removable disks.
  const std::string first = FullName(parsed.positionals[0]);
  if (const std::string problem = NotAFileProblem(first); !problem.empty())
    return UsageError(problem);
  // Beside the first fragment unless told otherwise, as the program's own
  // command line does.
  const std::optional<std::string> destination = parsed.Value("-d");
  if (destination && destination->empty()) {
    return MissingInformation("Please select a destination directory first.",
                              "Destination directory not selected");
  }
  std::string error;
  const AnswerPolicy policy = PolicyFrom(parsed, error);
  const Verbosity verbosity = VerbosityFrom(parsed, error);
  std::optional<std::string> passphrase = PassphraseFrom(parsed, error);
  const struct WipePassphrase {
    std::optional<std::string>& text;
    ~WipePassphrase() { SecureWipe(text); }
  } wipePassphrase{passphrase};
  if (!error.empty())
    return UsageError(error);
  AssembleRequest request;
  request.firstFragment = first;
  request.destination = destination ? FullName(*destination) : FolderOf(first);
  request.passphrase = std::move(passphrase);
  request.errorToldByCaller = true;
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "raw") {
      request.unknownAs = aftRaw;
    } else if (*value == "old") {
      request.unknownAs = aftBrannock;
    } else {
      return UsageError("--unknown-as takes raw or old");
    }
  }
  // Checked before the engine opens anything: nothing is written into a
  // folder that is not there.
  if (const std::string problem = DestinationProblem(request.destination); !problem.empty())
    return UsageError(problem);

  ConsoleHost host(policy);
  ConsolePrompts prompts(host.Boxes(), first);
  ProgressMeter meter(stderr, verbosity != Verbosity::kQuiet && IsTerminal(stderr),
                      ProgressMeter::SteadySeconds, TerminalColumns(stderr));
  host.Boxes().BeforeEachLine([&meter] { meter.Clear(); });
  // Missing fragments and ones of the wrong length show without reading
  // them; the recovery files' check of every byte runs when asked for.
  bool repair = parsed.Has("--repair");
  // What the recovery files say is missing and was not rebuilt: an assembly
  // without it is no success unless the checksum file vouches for the result.
  RepairBeforeAssembling look;
  if (!repair) {
    look = LookBeforeAssembling(first);
    if (look.Offer()) {
      repair = host.Boxes().Show(RepairOfferText(look.indexFile), kRepairOfferTitle,
                                 mb::kYesNo | mb::kIconQuestion) == mb::kIdYes;
    }
  }
  if (repair && HasRecoveryFiles(first)) {
    RepairRequest check;
    check.series.firstFragment = first;
    check.series.passphrase = request.passphrase;
    check.series.unknownAs = request.unknownAs.value_or(aftRaw);
    check.verifyAfter = false;
    MeterRecoveryEvents recoveryEvents(meter);
    const SeriesRepair repaired = RepairSeries(check, host.GetGlobals(), recoveryEvents);
    ReportRecoveryRepair(repaired.repair, stderr, stderr);
    if (!repaired.repair.Whole()) {
      WriteText(stderr, "vtq: the series is not whole; nothing was assembled\n");
      return 1;
    }
  }
  AssembleProgress events(host.Boxes(), stdout, verbosity, meter, first);
  const AssembleResult result = RunAssembleCommand(request, host.GetGlobals(), events, prompts);
  switch (result.stop) {
    case AssembleStop::kNone: {
      events.Completed();
      ReportKeptPartials(result);
      if (verbosity != Verbosity::kQuiet)
        PrintText(stdout, "%s\n", ShownText(result.outputPath).c_str());
      const bool matches = ReportAssembledChecksum(result);
      if (AssemblyInDoubt(look, repair, result.checksum == ChecksumVerdict::kMatches)) {
        for (const std::string& name : look.lacking) {
          PrintText(stderr, "vtq: the recovery files find %s missing or not of its length\n",
                    ShownText(name).c_str());
        }
        PrintText(stderr,
                  "vtq: %s was assembled without them being rebuilt and may not be the "
                  "source: vtq repair %s rebuilds them\n",
                  ShownText(result.outputPath).c_str(), ShownText(first).c_str());
        return 1;
      }
      return matches ? 0 : 1;
    }
    case AssembleStop::kEngineError:
      ReportEngineError(result);
      ReportKeptPartials(result);
      PointToRepair(first);
      return 1;
    case AssembleStop::kIncomplete:
      ReportKeptPartials(result);
      PointToRepair(first);
      return 1;
    case AssembleStop::kPassphraseCannotBeAsked:
      return UsageError(first +
                        " is encrypted and there is no terminal to ask for its passphrase: give "
                        "--passphrase-file FILE, -p PASSPHRASE or VTQ_PASSPHRASE");
    case AssembleStop::kQuestionCancelled:
      // Nobody could be asked: the option that answers it has been named.
      return prompts.QuestionUnasked() ? 2 : 1;
    case AssembleStop::kFragmentsMissing:
      PointToRepair(first);
      break;
    case AssembleStop::kReplaceDeclined:
      WriteText(stderr, "vtq: the file there was kept; nothing was assembled\n");
      return host.Boxes().CanAnswer() ? 1 : 2;
    case AssembleStop::kEndedAfterError:
    case AssembleStop::kEndedByErrorDialog:
    case AssembleStop::kFragmentRefused:
    case AssembleStop::kPassphraseIncorrect:
      break;
  }
  return 1;
}

}  // namespace vtq::cli
