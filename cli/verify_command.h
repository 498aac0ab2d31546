#pragma once
// The console's words for what the checking of a series found, and for
// what an assembly found against the series' checksum file.

#include <cstdio>
#include <string>

#include "app/operations/assemble_operation.h"
#include "app/operations/series_verification.h"
#include "cli/console_host.h"

namespace vtq::cli {

// The request of verify and repair from their one first fragment and the
// passphrase and --unknown-as options; the text of a usage error when the
// options are wrong, empty otherwise.
std::string ReadVerifyRequest(ParsedArgs& parsed, VerifyRequest& request);

// "fragment 2 (data.002) is missing" and the like.
std::string DescribeFinding(const FragmentFinding& finding);

// The wrong passphrase, an unreadable checksum file and every finding, a
// line each on `err`.
void ReportFindings(const VerifyReport& report, std::FILE* err);

// One line per finding on `err`, the fragments `--regen N` re-creates, and
// the closing verdict on `out`; the exit status (0 sound, 1 not).
int ReportVerification(const VerifyReport& report, const std::string& folder, std::FILE* out,
                       std::FILE* err);

// A line on standard error when the series had a checksum file; false when
// the assembled file does not match it (or the file could not be read).
bool ReportAssembledChecksum(const AssembleResult& result);

}  // namespace vtq::cli
