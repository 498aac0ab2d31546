// vtq assemble FIRST -d DIR [-p PASSPHRASE | --passphrase-file FILE]
//              [--unknown-as raw|old] [--yes|--no]

#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/passphrase_prompt.h"
#include "cli/passphrase_source.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

constexpr const char* kUnknownFormatQuestion =
    "Vantrelloquin has been unable to identify the file-format that the selected fragments have "
    "been "
    "saved in. I need to know whether to treat the file as unformatted data. "
    "If you created these fragments in a version of Vantrelloquin earlier than version 2.0 please "
    "click "
    "'No'. If you split these files using the BAT Generation feature, or created them in a "
    "different "
    "program, you should click 'Yes'. If you are unsure, you are advised "
    "to click yes and if the assembled file doesn't work, then try to re-assemble using the 'No' "
    "option.";
constexpr const char* kPassphrasePrompt =
    "This fragment series has been encrypted. Please enter the correct password. Passwords are "
    "case-sensitive.";

constexpr auto kNoAnswerYet = static_cast<AftFileFormat>(-1);

class ConsoleAssemblerEvents : public AssemblerEvents {
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
  void Finish() { progress_.Finish(); }

 private:
  MessageBoxes& boxes_;
  ConsoleProgress progress_;
};

// Whatever a run kept of a series that ended early is named, so that it is
// not taken for the finished file.
void ReportKeptPartials(const ActiveAssembler& assembler) {
  for (const std::string& kept : assembler.KeptPartials()) {
    std::fprintf(stderr, "vtq: the series is incomplete; what was assembled is kept as %s\n",
                 kept.c_str());
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
  std::optional<AftFileFormat> unknownAs;
  if (const auto value = parsed.Value("--unknown-as")) {
    if (*value == "raw") {
      unknownAs = aftRaw;
    } else if (*value == "old") {
      unknownAs = aftBrannock;
    } else {
      return UsageError("--unknown-as takes raw or old");
    }
  }

  ConsoleHost host(policy);
  ConsoleAssemblerEvents events(host.Boxes());
  ActiveAssembler assembler(host.GetGlobals(), events);
  try {
    if (assembler.FilesToAssemble().Add(parsed.positionals[0]) != 0)
      return 1;
    assembler.DestinationFolder(*destination);

    // A name-and-escape prefix may be the older format or just data; only
    // the user can tell.
    assembler.FormatForUnknowns(unknownAs.value_or(kNoAnswerYet));
    if (!unknownAs && assembler.FileFormat(1) == kNoAnswerYet) {
      switch (host.Boxes().Show(kUnknownFormatQuestion, "Treat fragments as unformatted?",
                                mb::kYesNoCancel)) {
        case mb::kIdYes:
          assembler.FormatForUnknowns(aftRaw);
          break;
        case mb::kIdNo:
          assembler.FormatForUnknowns(aftBrannock);
          break;
        default:
          return 1;
      }
    }

    if (passphrase)
      assembler.DecryptionKey(*passphrase);  // copied, the copy taken over
    if (assembler.FileFormat(1) == aftQuorvelle && !assembler.KeyValid(1)) {
      // A passphrase given on the command line was the answer already.
      if (!passphrase) {
        std::optional<std::string> typed =
            StdinIsTerminal() ? AskPassphraseAtTerminal("Security check", kPassphrasePrompt)
                              : std::nullopt;
        assembler.DecryptionKey(typed.value_or(std::string()));
        SecureWipe(typed);
      }
      if (!assembler.KeyValid(1)) {
        host.Boxes().Show("Password incorrect", "Access denied", mb::kIconCritical);
        return 1;
      }
    }

    const std::string output = assembler.OutputPathFor(1);
    assembler.Assemble();
    events.Finish();
    ReportKeptPartials(assembler);
    if (assembler.CompletedSeries() != 1)
      return 1;
    std::printf("%s\n", ShownText(output).c_str());
    return 0;
  } catch (const VbError& failure) {
    events.Finish();
    // The refused check was the user's own answer to the assembler's question.
    if (failure.Number() != kCheckabilityFailed) {
      host.Boxes().Show(
          "Runtime error " + std::to_string(failure.Number()) + ": " + failure.Description(),
          "There is a problem", mb::kIconCritical);
    }
    ReportKeptPartials(assembler);
    return 1;
  }
}

}  // namespace vtq::cli
