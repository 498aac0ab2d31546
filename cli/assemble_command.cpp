// vtq assemble FIRST -d DIR [-p PASSPHRASE | --passphrase-file FILE]
//              [--unknown-as raw|old] [--yes|--no]

#include <cstdio>
#include <optional>
#include <utility>

#include "app/operations/assemble_operation.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/console_prompts.h"
#include "cli/passphrase_source.h"
#include "cli/verify_command.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

class ConsoleAssemblerEvents : public AssembleWatcher {
 public:
  explicit ConsoleAssemblerEvents(MessageBoxes& boxes) : boxes_(boxes), progress_(stderr) {}
  ~ConsoleAssemblerEvents() override { progress_.Finish(); }

  void AssembleStart(int16_t pbMax) override { progress_.Start(pbMax); }
  void AssembleInterval(int16_t pbCurrent) override { progress_.Update(pbCurrent); }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    progress_.Finish();
    const int answer = boxes_.Show(
        "Please insert the next disk (number " + std::to_string(diskNumber) + ") and click ok",
        "VazeVezazu", mb::kOkCancel | mb::kIconExclamation);
    if (answer == mb::kIdCancel)
      cancel = true;
  }
  void RunEnded() override { progress_.Finish(); }

 private:
  MessageBoxes& boxes_;
  ConsoleProgress progress_;
};

// Whatever a run kept of a series that ended early is named, so that it is
// not taken for the finished file.
void ReportKeptPartials(const AssembleResult& result) {
  for (const std::string& kept : result.keptPartials) {
    std::fprintf(stderr, "vtq: the series is incomplete; what was assembled is kept as %s\n",
                 ShownText(kept).c_str());
  }
}

int MissingInformation(const char* text, const char* title) {
  std::fprintf(stderr, "%s\n", BoxLine(text, title).c_str());
  return 2;
}

}  // namespace

int RunAssemble(std::vector<std::string> args) {
  ParsedArgs parsed =
      ParseArgs(args, {"-d", "-p", "--passphrase-file", "--unknown-as"}, {"--yes", "--no"});
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
  if (const std::string problem = NotAFileProblem(parsed.positionals[0]); !problem.empty())
    return UsageError(problem);
  const std::optional<std::string> destination = parsed.Value("-d");
  if (!destination) {
    return MissingInformation("Please select where to put the finished file first!",
                              "Not enough information.");
  }
  if (destination->empty()) {
    return MissingInformation("Please select a destination directory first.",
                              "Destination directory not selected");
  }
  std::string error;
  const AnswerPolicy policy = PolicyFrom(parsed, error);
  std::optional<std::string> passphrase = PassphraseFrom(parsed, error);
  const struct WipePassphrase {
    std::optional<std::string>& text;
    ~WipePassphrase() { SecureWipe(text); }
  } wipePassphrase{passphrase};
  if (!error.empty())
    return UsageError(error);
  AssembleRequest request;
  request.firstFragment = parsed.positionals[0];
  request.destination = *destination;
  request.passphrase = std::move(passphrase);
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "raw") {
      request.unknownAs = aftRaw;
    } else if (*value == "old") {
      request.unknownAs = aftBrannock;
    } else {
      return UsageError("--unknown-as takes raw or old");
    }
  }

  ConsoleHost host(policy);
  ConsolePrompts prompts(host.Boxes());
  ConsoleAssemblerEvents events(host.Boxes());
  const AssembleResult result = RunAssembleCommand(request, host.GetGlobals(), events, prompts);
  switch (result.stop) {
    case AssembleStop::kNone:
      ReportKeptPartials(result);
      std::printf("%s\n", ShownText(result.outputPath).c_str());
      return ReportAssembledChecksum(result) ? 0 : 1;
    case AssembleStop::kIncomplete:
    case AssembleStop::kEngineError:
      ReportKeptPartials(result);
      return 1;
    case AssembleStop::kFragmentRefused:
    case AssembleStop::kQuestionCancelled:
    case AssembleStop::kPassphraseIncorrect:
    case AssembleStop::kFragmentsMissing:
      break;
  }
  return 1;
}

}  // namespace vtq::cli
