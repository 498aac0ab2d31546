// vtq split: the console's arguments read into a split request, and the
// split command's outcome in the console's words.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/series_side_files.h"
#include "app/operations/split_operation.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_prompts.h"
#include "cli/console_text.h"
#include "cli/passphrase_source.h"
#include "cli/progress_meter.h"
#include "cli/series_recovery.h"
#include "cli/size_option.h"
#include "cli/split_events.h"
#include "cli/terminal.h"
#include "engine/path.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

// A raw or old series has no header: the assembler could neither strip
// check digits nor know that the data needs deciphering.
constexpr const char* kCheckDigitsNeedOwn =
    "check digits (-c) need the own format (-f own): a raw or old series has no header to record "
    "them";
constexpr const char* kEncryptionNeedsOwn =
    "a passphrase (-p, --passphrase-file, --ask-passphrase) needs the own format (-f own): a raw "
    "or old series has no header to record the encryption";
constexpr const char* kEnvironmentNotUsed =
    "vtq: VTQ_PASSPHRASE is not used: a raw or old series cannot be encrypted\n";

struct SplitOptions {
  SplitRequest request;
  std::optional<RecoveryAmount> recovery;
  AnswerPolicy policy = AnswerPolicy::kAsk;
  Verbosity verbosity = Verbosity::kNormal;
};

// Usage errors return the message; an empty text means the options are good.
std::string ReadOptions(std::vector<std::string>& args, SplitOptions& o) {
  SplitRequest& r = o.request;
  ParsedArgs parsed =
      ParseArgs(args,
                {"-d", "-s", "--first-size", "-f", "-p", "--passphrase-file", "--regen",
                 "--recovery", "--recovery-count"},
                {"-c", "--bat", "--yes", "--no", "-P", "--ask-passphrase", "-q", "-v", "--sha256"});
  for (std::string& arg : args)
    SecureWipe(arg);
  if (!parsed.error.empty())
    return parsed.error;
  if (parsed.positionals.size() != 1)
    return "split takes exactly one SOURCE";
  // Full, so that a drive-relative "C:name" gives the series its base name.
  r.source = FullName(parsed.positionals.front());
  if (std::string problem = NotAFileProblem(r.source); !problem.empty())
    return problem;
  // Beside the source unless told otherwise, as the program's own command
  // line does.
  const auto destination = parsed.Value("-d");
  if (destination && destination->empty())
    return "-d needs a folder; leave it out to write beside the source";
  r.destination = destination ? FullName(*destination) : FolderOf(r.source);

  const auto size = [&](const char* option, int64_t& target) -> std::string {
    const auto text = parsed.Value(option);
    if (!text)
      return {};
    const SizeOption parsedSize = ParseFragmentSize(option, *text);
    if (!parsedSize.error.empty())
      return parsedSize.error;
    target = parsedSize.bytes;
    return {};
  };
  int64_t fragmentSize = aftHighDensity;
  if (auto e = size("-s", fragmentSize); !e.empty())
    return e;
  r.fragmentSize = fragmentSize;
  if (parsed.Value("--first-size")) {
    int64_t first = 0;
    if (auto e = size("--first-size", first); !e.empty())
      return e;
    r.firstSize = first;
  }
  if (const auto format = parsed.Value("-f")) {
    if (*format == "own")
      r.format = aftQuorvelle;
    else if (*format == "raw")
      r.format = aftRaw;
    else if (*format == "old")
      r.format = aftBrannock;
    else
      return "unknown format " + *format + " (own, raw or old)";
  }
  if (const auto regen = parsed.Value("--regen")) {
    const auto n = ParseSize(*regen);
    if (!n || *n < 1 || *n > INT16_MAX ||
        regen->find_first_not_of("0123456789") != std::string::npos) {
      return "bad fragment number for --regen: " + *regen;
    }
    r.regenerate = *n;
  }
  if (parsed.Has("--recovery") || parsed.Has("--recovery-count")) {
    if (parsed.Has("--recovery") && parsed.Has("--recovery-count"))
      return "--recovery and --recovery-count cannot be given together";
    // The recovery files cover a whole series, which one fragment written
    // again does not make.
    if (r.regenerate > 0)
      return "--recovery and --recovery-count need the whole series; they cannot go with --regen";
    RecoveryAmount amount;
    const std::string problem = parsed.Has("--recovery")
                                    ? ReadRecoveryPercent(*parsed.Value("--recovery"), amount)
                                    : ReadRecoveryCount(*parsed.Value("--recovery-count"), amount);
    if (!problem.empty())
      return problem;
    o.recovery = amount;
    r.writeRecovery = true;
  }
  r.checkDigits = parsed.Has("-c");
  r.writeBatchFile = parsed.Has("--bat");
  r.writeChecksums = parsed.Has("--sha256");
  if (r.writeBatchFile && r.format != aftRaw)
    return "--bat needs raw fragments (-f raw)";
  std::string error;
  o.policy = PolicyFrom(parsed, error);
  if (!error.empty())
    return error;
  o.verbosity = VerbosityFrom(parsed, error);
  if (!error.empty())
    return error;
  if (r.format != aftQuorvelle) {
    if (r.checkDigits)
      return kCheckDigitsNeedOwn;
    if (parsed.Has("-p") || parsed.Has("--passphrase-file") || parsed.Has("-P") ||
        parsed.Has("--ask-passphrase")) {
      return kEncryptionNeedsOwn;
    }
    // The variable is a standing default, not a request for this series.
    return {};
  }
  r.passphrase = PassphraseFrom(parsed, error);
  if (!error.empty())
    return error;
  r.askPassphrase = parsed.Has("-P") || parsed.Has("--ask-passphrase");
  if (r.passphrase && r.passphrase->empty())
    return "an empty passphrase cannot encrypt";
  return {};
}

// The console's words for a run that stopped; the exit status.
int ReportStop(const SplitResult& result, const SplitOptions& o, ConsoleBoxes& boxes) {
  switch (result.stop) {
    case SplitStop::kNone:
      return 0;
    case SplitStop::kSourceRefused:
    case SplitStop::kBatchFileNotGenerated:
      return 1;  // the engine has said why
    case SplitStop::kBatchNameUnsafe:
      PrintText(stderr, "vtq: %s\n", result.problem.c_str());
      WriteText(stderr, "vtq: nothing was written\n");
      return 2;
    case SplitStop::kBatchWouldReplaceSource:
      PrintText(stderr,
                "Source would be overwritten: The batch file %s would replace the file being "
                "split. Please choose another destination folder.\n",
                ShownText(result.batchFile).c_str());
      return 1;
    case SplitStop::kSideFileIsSource:
      PrintText(stderr, "Source would be overwritten: %s\n", ShownText(result.problem).c_str());
      return 1;
    case SplitStop::kSideFileInTheWay:
      PrintText(stderr, "vtq: %s\n", ShownText(result.problem).c_str());
      WriteText(stderr, "vtq: nothing was written\n");
      return 1;
    case SplitStop::kNoSuchFragment:
      PrintText(stderr, "vtq: the series has %d fragments; there is no fragment %lld\n",
                result.fragmentsInSeries, static_cast<long long>(o.request.regenerate));
      return 2;
    case SplitStop::kDeclined:
      return 1;  // the console asks no such question
    case SplitStop::kPassphraseCannotBeAsked:
      return UsageError("--ask-passphrase needs a terminal to read the passphrase from");
    case SplitStop::kPassphraseNotTyped:
      return UsageError("no passphrase was typed");
    case SplitStop::kPassphrasesDiffer:
      return UsageError("the two passphrases typed differ");
    case SplitStop::kEndedAfterError:
    case SplitStop::kEndedByErrorDialog:
      WriteText(stderr, "vtq: split ended after an error\n");
      return 1;
    case SplitStop::kReplaceDeclined:
      WriteText(stderr, "vtq: nothing was written\n");
      // Unanswered for want of a terminal: the line before named the options.
      return boxes.CanAnswer() ? 1 : 2;
    case SplitStop::kEngineError:
      if (!result.errorFile.empty()) {
        PrintText(
            stderr, "vtq: %s\n",
            FileErrorNote(result.errorFile, result.errorDescription, result.errorNumber).c_str());
      } else {
        PrintText(stderr, "vtq: error %d: %s\n", result.errorNumber,
                  ShownText(result.errorDescription).c_str());
      }
      return 1;
  }
  return 1;
}

}  // namespace

int RunSplit(std::vector<std::string> args) {
  if (HelpAsked(args)) {
    WriteText(stdout, SplitHelp());
    return 0;
  }
  SplitOptions o;
  if (const std::string problem = ReadOptions(args, o); !problem.empty())
    return UsageError(problem);
  if (o.request.format != aftQuorvelle && EnvironmentPassphraseSet())
    WriteText(stderr, kEnvironmentNotUsed);

  if (const std::string problem = DestinationProblem(o.request.destination); !problem.empty())
    return UsageError(problem);

  ConsoleHost host(o.policy);
  ConsolePrompts prompts(host.Boxes());
  // One fragment written again has nothing to follow.
  const bool live =
      o.verbosity != Verbosity::kQuiet && o.request.regenerate <= 0 && IsTerminal(stderr);
  ProgressMeter meter(stderr, live, ProgressMeter::SteadySeconds, TerminalColumns(stderr));
  host.Boxes().BeforeEachLine([&meter] { meter.Clear(); });
  SplitProgress events(host.Boxes(), stdout, stderr, o.verbosity, meter);
  const uint64_t sourceBytes = FileSizeOrZero(o.request.source);
  o.request.confirm = [&](int16_t fragments) {
    events.Expect(fragments, sourceBytes);
    return true;
  };
  const SplitResult result = RunSplitCommand(o.request, host.GetGlobals(), events, prompts);
  if (result.stop != SplitStop::kNone) {
    events.Abandon();
    return ReportStop(result, o, host.Boxes());
  }
  if (result.batchFileWritten && o.verbosity != Verbosity::kQuiet)
    PrintText(stdout, "%s\n", ShownText(result.batchFile).c_str());
  if (!result.checksumFile.empty() && o.verbosity != Verbosity::kQuiet)
    PrintText(stdout, "%s\n", ShownText(result.checksumFile).c_str());
  for (const SideFile& kept : result.keptSideFiles)
    PrintText(stderr, "vtq: %s; it is kept\n", ShownText(ForeignSideFileText(kept)).c_str());
  events.Summary(result);
  const bool complete = result.Complete() && host.Boxes().CriticalShown() == 0;
  if (!complete || !o.recovery)
    return complete ? 0 : 1;
  return WriteSeriesRecovery(SeriesFragmentNames(result.firstFragment, result.written), *o.recovery,
                             meter, o.verbosity == Verbosity::kQuiet, stdout, stderr);
}

}  // namespace vtq::cli
