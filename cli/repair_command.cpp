// vtq repair FIRST [--par2 FILE] [-p PASSPHRASE | --passphrase-file FILE]
//                  [--unknown-as raw|old] [-q]

#include <cstdio>
#include <string>

#include "app/operations/series_recovery.h"
#include "app/operations/series_verification.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_text.h"
#include "cli/progress_meter.h"
#include "cli/series_recovery.h"
#include "cli/terminal.h"
#include "cli/verify_command.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {

int RunRepair(std::vector<std::string> args) {
  if (HelpAsked(args)) {
    WriteText(stdout, RepairHelp());
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
  RepairRequest repair;
  if (const std::string problem = ReadVerifyRequest(parsed, repair.series); !problem.empty())
    return UsageError(problem);
  const auto named = parsed.Value("--par2");
  if (named && named->empty())
    return UsageError("--par2 needs a recovery file");

  repair.indexFile = named ? *named : std::string();

  ConsoleHost host(AnswerPolicy::kNo);
  ProgressMeter meter(stderr, !parsed.Has("-q") && IsTerminal(stderr), ProgressMeter::SteadySeconds,
                      TerminalColumns(stderr));
  MeterRecoveryEvents events(meter);
  const SeriesRepair result = RepairSeries(repair, host.GetGlobals(), events);
  if (result.before) {
    for (const FragmentFinding& finding : result.before->findings)
      PrintText(stderr, "vtq: %s\n", DescribeFinding(finding).c_str());
  }
  ReportRecoveryRepair(result.repair, stdout, stderr);
  if (!result.repair.Whole())
    return 1;
  if (result.firstNotCovered) {
    PrintText(stderr, "vtq: %s is not among the files the recovery files cover\n",
              ShownText(first).c_str());
    return 1;
  }
  if (result.after && !result.after->Sound()) {
    ReportFindings(*result.after, stderr);
    WriteText(stderr, "vtq: the series is not sound\n");
    return 1;
  }
  if (!result.repair.wasWhole)
    PrintText(stdout, "sound: the series is whole again\n");
  return 0;
}

}  // namespace vtq::cli
