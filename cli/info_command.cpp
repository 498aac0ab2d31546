// vtq info FRAGMENT [--unknown-as raw|old]: what the assembler reads from a
// first fragment, one "Name: value" per line.

#include <cstdio>

#include "app/operations/info_operation.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_text.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

const char* FormatWord(AftFileFormat format) {
  switch (format) {
    case aftQuorvelle:
      return "own";
    case aftBrannock:
      return "old";
    default:
      return "raw";
  }
}

// Values come from the fragment's header: shown, never obeyed, by the
// terminal.
void Line(const char* name, const std::string& value) {
  PrintText(stdout, "%s: %s\n", name, ShownText(value).c_str());
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  if (HelpAsked(args)) {
    WriteText(stdout, InfoHelp());
    return 0;
  }
  const ParsedArgs parsed = ParseArgs(args, {"--unknown-as"}, {});
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.positionals.size() != 1)
    return UsageError("info takes one fragment");
  if (const std::string problem = NotAFileProblem(parsed.positionals[0]); !problem.empty())
    return UsageError(problem);
  InfoRequest request;
  request.fragment = FullName(parsed.positionals[0]);
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "raw") {
      request.unknownAs = aftRaw;
    } else if (*value != "old") {
      return UsageError("--unknown-as takes raw or old");
    }
  }

  ConsoleHost host(AnswerPolicy::kNo);
  const std::optional<SeriesInfo> info = RunInfoCommand(request, host.GetGlobals());
  if (!info)
    return 1;
  Line("Format", FormatWord(info->format));
  Line("Fragments", std::to_string(info->fragments));
  Line("Assembled name", info->assembledName);
  if (info->storedName != info->assembledName && !info->storedName.empty())
    Line("Stored name", info->storedName);
  Line("Multisize", YesNo(info->file.multisize));
  Line("Encrypted", YesNo(info->file.encrypted));
  Line("Encodable", YesNo(info->file.encodable));
  Line("Reserved feature", YesNo(info->file.reservedFeature));
  Line("Checkable", YesNo(info->file.checkable));
  Line("Header length", std::to_string(info->headerLength));
  return 0;
}

}  // namespace vtq::cli
