// vtq verify FIRST [-p PASSPHRASE | --passphrase-file FILE] [--unknown-as raw|old]

#include "cli/verify_command.h"

#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_text.h"
#include "cli/passphrase_source.h"
#include "cli/series_recovery.h"
#include "engine/path.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {

std::string DescribeFinding(const FragmentFinding& finding) {
  const std::string name = ShownText(finding.name);
  const std::string number = std::to_string(finding.number);
  switch (finding.fault) {
    case FragmentFault::kMissing:
      return "fragment " + number + " (" + name + ") is missing";
    case FragmentFault::kWrongLength:
      return "fragment " + number + " (" + name + ") has " + std::to_string(finding.length) +
             " bytes where the series needs " + std::to_string(finding.expected);
    case FragmentFault::kCheckDigits:
      return "fragment " + number + " (" + name + ") is damaged: its check digits do not match";
    case FragmentFault::kDigest:
      return "fragment " + number + " (" + name +
             ") is damaged: its SHA-256 differs from the checksum file's";
    case FragmentFault::kRecoveryFiles:
      return "fragment " + number + " (" + name + ") is not as the recovery files describe it";
  }
  return {};
}

void ReportFindings(const VerifyReport& report, std::FILE* err) {
  if (report.passphraseRejected) {
    WriteText(err, "Access denied: Passphrase incorrect (the check digits were not checked)\n");
  }
  if (report.checksumFileUnreadable) {
    PrintText(err, "vtq: %s is not a checksum file sha256sum can read\n",
              ShownText(report.checksumFile).c_str());
  }
  for (const FragmentFinding& finding : report.findings)
    PrintText(err, "vtq: %s\n", DescribeFinding(finding).c_str());
}

int ReportVerification(const VerifyReport& report, const std::string& folder, std::FILE* out,
                       std::FILE* err) {
  if (!report.readable) {
    WriteText(err, "vtq: the first fragment could not be read; nothing was checked\n");
    return 1;
  }
  if (report.fragments <= 0) {
    WriteText(err, "vtq: the series has no fragments to check\n");
    return 1;
  }
  ReportFindings(report, err);
  const std::vector<int> faulty = report.FaultyFragments();
  if (!faulty.empty()) {
    const std::string source = report.sourceName.empty() ? "SOURCE" : report.sourceName;
    WriteText(err, "vtq: re-create them from the source with the options of the first split:\n");
    for (const int number : faulty) {
      PrintText(err, "  vtq split %s -d %s --regen %d\n", ShownText(source).c_str(),
                ShownText(folder).c_str(), number);
    }
  }
  std::string checked = std::to_string(report.fragments) + " fragments";
  if (report.checkDigitsChecked)
    checked += ", check digits";
  if (report.digestsChecked)
    checked += ", SHA-256 digests of " + ShownText(BaseName(report.checksumFile));
  if (report.Sound()) {
    PrintText(out, "sound: %s checked\n", checked.c_str());
    return 0;
  }
  PrintText(out, "not sound: %zu of %d fragments at fault (%s checked)\n", faulty.size(),
            report.fragments, checked.c_str());
  return 1;
}

bool ReportAssembledChecksum(const AssembleResult& result) {
  const std::string file = ShownText(result.checksumFile);
  switch (result.checksum) {
    case ChecksumVerdict::kNoFile:
      return true;
    case ChecksumVerdict::kUnreadable:
      PrintText(stderr, "vtq: %s is not a checksum file sha256sum can read\n", file.c_str());
      return false;
    case ChecksumVerdict::kMatches:
      PrintText(stderr, "vtq: the assembled file matches the SHA-256 of the source in %s\n",
                file.c_str());
      return true;
    case ChecksumVerdict::kDiffers:
      PrintText(stderr, "vtq: the assembled file does NOT match the SHA-256 of the source in %s\n",
                file.c_str());
      return false;
  }
  return false;
}

std::string ReadVerifyRequest(ParsedArgs& parsed, VerifyRequest& request) {
  if (std::string problem = NotAFileProblem(parsed.positionals[0]); !problem.empty())
    return problem;
  request.firstFragment = FullName(parsed.positionals[0]);
  std::string error;
  request.passphrase = PassphraseFrom(parsed, error);
  if (!error.empty())
    return error;
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "old")
      request.unknownAs = aftBrannock;
    else if (*value != "raw")
      return "--unknown-as takes raw or old";
  }
  return {};
}

int RunVerify(std::vector<std::string> args) {
  if (HelpAsked(args)) {
    WriteText(stdout, VerifyHelp());
    return 0;
  }
  ParsedArgs parsed = ParseArgs(args, {"-p", "--passphrase-file", "--unknown-as"}, {});
  for (std::string& arg : args)
    SecureWipe(arg);
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.positionals.size() != 1)
    return UsageError("verify takes one first fragment");
  VerifyRequest request;
  if (const std::string problem = ReadVerifyRequest(parsed, request); !problem.empty())
    return UsageError(problem);
  ConsoleHost host(AnswerPolicy::kNo);
  const SeriesVerification verification = VerifySeriesAndRecovery(request, host.GetGlobals());
  const std::string& first = request.firstFragment;
  // Assigning "." to an emptied string trips a false -Wrestrict in the
  // MinGW build of GCC 12; the folder is chosen in one go instead.
  const std::string folderPart = FolderPart(first);
  const std::string folder = folderPart.empty() ? std::string(".") : folderPart;
  const int status = ReportVerification(verification.report, folder, stdout, stderr);
  for (const std::string& line : RecoveryLines(verification.recovery))
    PrintText(stdout, "%s\n", line.c_str());
  return status;
}

}  // namespace vtq::cli
