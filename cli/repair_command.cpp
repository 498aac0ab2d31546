// vtq repair FIRST [--par2 FILE] [-p PASSPHRASE | --passphrase-file FILE]
//                  [--unknown-as raw|old] [-q]

#include <cstdio>
#include <string>

#include "app/operations/series_side_files.h"
#include "app/operations/series_verification.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/progress_meter.h"
#include "cli/series_recovery.h"
#include "cli/terminal.h"
#include "cli/verify_command.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {

int RunRepair(std::vector<std::string> args) {
  if (HelpAsked(args)) {
    std::fputs(std::string(RepairHelp()).c_str(), stdout);
    return 0;
  }
  ParsedArgs parsed =
      ParseArgs(args, {"--par2", "-p", "--passphrase-file", "--unknown-as"}, {"-q"});
  for (std::string& arg : args)
    SecureWipe(arg);
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.positionals.size() != 1)
    return UsageError("repair takes one first fragment");
  const std::string first = FullName(parsed.positionals[0]);
  VerifyRequest request;
  if (const std::string problem = ReadVerifyRequest(parsed, request); !problem.empty())
    return UsageError(problem);
  const auto named = parsed.Value("--par2");
  if (named && named->empty())
    return UsageError("--par2 needs a recovery file");
  const std::string index = named ? *named : RecoveryIndexName(first);

  ConsoleHost host(AnswerPolicy::kNo);
  // The check digits speak first: they name a damaged fragment without
  // the recovery files' reading of every byte, and what they prove good no
  // recovery set may replace.
  VerifyReport before;
  if (CanOpenForReading(first)) {
    before = VerifySeries(request, host.GetGlobals());
    for (const FragmentFinding& finding : before.findings)
      std::fprintf(stderr, "vtq: %s\n", DescribeFinding(finding).c_str());
  }
  ProgressMeter meter(stderr, !parsed.Has("-q") && IsTerminal(stderr), ProgressMeter::SteadySeconds,
                      TerminalColumns(stderr));
  const RepairReport report = RepairFromRecoveryFiles(index, first, before, meter, stdout, stderr);
  if (!report.Whole())
    return 1;
  if (!CanOpenForReading(first)) {
    std::fprintf(stderr, "vtq: %s is not among the files the recovery files cover\n",
                 ShownText(first).c_str());
    return 1;
  }
  // The series as a whole, fragments the recovery files do not cover
  // included: the verdict is verify's.
  const VerifyReport after = VerifySeries(request, host.GetGlobals());
  if (!after.Sound()) {
    ReportFindings(after, stderr);
    std::fputs("vtq: the series is not sound\n", stderr);
    return 1;
  }
  if (!report.wasWhole)
    std::printf("sound: the series is whole again\n");
  return 0;
}

}  // namespace vtq::cli
