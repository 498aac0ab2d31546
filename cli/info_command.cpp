// vtq info FRAGMENT [--unknown-as raw|old]: what the assembler reads from a
// first fragment, one "Name: value" per line.

#include <cstdio>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

class NoEvents : public AssemblerEvents {
 public:
  void AssembleStart(int16_t) override {}
  void AssembleInterval(int16_t) override {}
  void RequireNextDisk(int16_t, bool& cancel) override { cancel = true; }
};

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
  std::printf("%s: %s\n", name, ShownText(value).c_str());
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  const ParsedArgs parsed = ParseArgs(args, {"--unknown-as"}, {});
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.positionals.size() != 1)
    return UsageError("info takes one fragment");
  if (const std::string problem = NotAFileProblem(parsed.positionals[0]); !problem.empty())
    return UsageError(problem);
  // A name-and-escape prefix is shown as what it most likely is.
  AftFileFormat unknownAs = aftBrannock;
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "raw") {
      unknownAs = aftRaw;
    } else if (*value != "old") {
      return UsageError("--unknown-as takes raw or old");
    }
  }

  ConsoleHost host(AnswerPolicy::kNo);
  NoEvents events;
  ActiveAssembler assembler(host.GetGlobals(), events);
  try {
    if (assembler.FilesToAssemble().Add(parsed.positionals[0]) != 0)
      return 1;
    assembler.FormatForUnknowns(unknownAs);
    const AftFileFormat format = assembler.FileFormat(1);
    SeriesHeader header;
    size_t headerLength = 0;
    if (format == aftQuorvelle) {
      header = assembler.ReadSeriesHeaders(1);
      headerLength = header.length;
    } else if (format == aftBrannock) {
      headerLength = assembler.Header(1).size();
    }
    const std::string stored = assembler.AssembledFilename(1).value_or(std::string());
    const std::string assembledAs = BaseName(assembler.OutputPathFor(1));
    Line("Format", FormatWord(format));
    Line("Fragments", std::to_string(assembler.FragmentCount(1)));
    Line("Assembled name", assembledAs);
    if (stored != assembledAs && !stored.empty())
      Line("Stored name", stored);
    Line("Multisize", YesNo(header.file.multisize));
    Line("Encrypted", YesNo(header.file.encrypted));
    Line("Encodable", YesNo(header.file.encodable));
    Line("Reserved feature", YesNo(header.file.reservedFeature));
    Line("Checkable", YesNo(header.file.checkable));
    Line("Header length", std::to_string(headerLength));
    return 0;
  } catch (const VbError& failure) {
    host.Boxes().Show(
        "Runtime error " + std::to_string(failure.Number()) + ": " + failure.Description(),
        "There is a problem", mb::kIconCritical);
    return 1;
  }
}

}  // namespace vtq::cli
