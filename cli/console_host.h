#pragma once
// What a console command needs to run the engine: message boxes as lines on
// standard error with questions answered by --yes / --no or at a terminal,
// a message loop with nothing to pump, the platform and Globals composed
// over the system's drives and folders and the error dialog, and the option
// parsing shared by the subcommands.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/operations/error_dialog.h"
#include "engine/globals.h"
#include "engine/platform/platform.h"
#include "engine/platform/remembered_drive_types.h"

namespace vtq::cli {

// How questions are answered: asked at a terminal, or fixed by --yes / --no.
enum class AnswerPolicy { kAsk, kYes, kNo };

// How much a command tells besides its errors: -q nothing, by default a
// summary (and the progress line at a terminal), -v a line per fragment too.
enum class Verbosity { kQuiet, kNormal, kVerbose };

// "Title: text", the text's carriage returns (alone or before a line feed)
// turned into line feeds, as the engine's own texts break their lines. Every
// other control character, in the text or the title, is shown escaped (\x1B,
// \t...): the texts carry names read from disks and fragment headers, which
// must not reach the terminal as escape sequences. An empty title reads
// "vtq".
std::string BoxLine(std::string_view text, std::string_view title);

// Each box becomes one line (or several, for a text with line breaks) on
// `out`. An OK-only box answers OK. A question is answered by the policy; with
// kAsk it is asked on `in` when that is a terminal, otherwise answered with
// its negative button (No, Cancel, Abort) after a line that says so and
// names the option that answers it. Retry is only ever chosen by a person:
// --yes answers a Retry/Cancel box with Cancel, because an automatic retry
// of a failing disk would loop for ever.
class ConsoleBoxes : public MessageBoxes {
 public:
  ConsoleBoxes(AnswerPolicy policy, std::FILE* out, std::FILE* in, bool interactive);
  int Show(std::string_view text, std::string_view title, unsigned style) override;

  // Boxes shown with the critical-stop icon: the engine's failures.
  int CriticalShown() const { return critical_; }
  int Shown() const { return shown_; }
  // Whether a question gets an answer from the person or the options; when
  // not, it takes its negative button.
  bool CanAnswer() const { return policy_ != AnswerPolicy::kAsk || interactive_; }
  // A line of the console's own on the boxes' stream: "vtq: " + text.
  void Note(const std::string& text);
  // Run before each box or note is written: the progress line is taken off
  // the screen, so that the box does not run on from its end.
  void BeforeEachLine(std::function<void()> action) { beforeEachLine_ = std::move(action); }

 private:
  int Ask(unsigned buttons);
  void MakeRoom();

  std::function<void()> beforeEachLine_;

  AnswerPolicy policy_;
  std::FILE* out_;
  std::FILE* in_;
  bool interactive_;
  int critical_ = 0;
  int shown_ = 0;
};

// The line that ends a question nobody can answer: what it was taken as, and
// the option that answers it.
std::string UnaskedQuestionNote(unsigned buttons);

// A failure about a file in the console's words: "FILE: File not found
// (runtime error 53)", the name shown escaped.
std::string FileErrorNote(const std::string& file, const std::string& description, int32_t number);

// The error dialog of the split run's trap, preceded by a line that names
// the file when the error was about one.
class ConsoleErrorAdvisor : public ErrorAdvisor {
 public:
  explicit ConsoleErrorAdvisor(ConsoleBoxes& boxes) : boxes_(boxes) {}
  TrapAction Advise(const VbError& error) override;

 private:
  ConsoleBoxes& boxes_;
};

// Nothing to repaint in a console.
class ConsoleLoop : public MessageLoop {
 public:
  void Yield() override {}
};

// The platform composition of a console command; lives for the command.
class ConsoleHost {
 public:
  explicit ConsoleHost(AnswerPolicy policy);
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

  ConsoleBoxes& Boxes() { return boxes_; }
  Platform& GetPlatform() { return platform_; }
  Globals& GetGlobals() { return globals_; }

 private:
  ConsoleBoxes boxes_;
  ConsoleLoop loop_;
  ConsoleErrorAdvisor advisor_;
  RememberedDriveTypes drives_;
  Platform platform_;
  Globals globals_;
};

// Options and positional arguments of one subcommand.
struct ParsedArgs {
  ParsedArgs() = default;
  // Values may hold a passphrase: wiped whichever way the command ends.
  ~ParsedArgs();
  ParsedArgs(const ParsedArgs&) = default;
  ParsedArgs(ParsedArgs&&) = default;
  ParsedArgs& operator=(const ParsedArgs&) = default;
  ParsedArgs& operator=(ParsedArgs&&) = default;

  std::vector<std::string> positionals;
  std::map<std::string, std::string> values;  // options with a value
  std::set<std::string> flags;                // options without one
  std::string error;                          // empty when parsing succeeded

  bool Has(const std::string& option) const {
    return flags.count(option) != 0 || values.count(option) != 0;
  }
  std::optional<std::string> Value(const std::string& option) const;
};

// `withValue` options take the next argument; `flags` take none; "--" ends
// the options. An unknown option or a missing value sets `error`.
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& flags);

// Whole bytes with an optional suffix k (x 1,024), m (x 1,048,576) or g
// (x 1,073,741,824), either case. nullopt for anything else, negative or
// beyond 64 bits.
std::optional<int64_t> ParseSize(std::string_view text);

// --yes / --no (both: an error in `error`).
AnswerPolicy PolicyFrom(const ParsedArgs& args, std::string& error);

// -q / -v (both: an error in `error`).
Verbosity VerbosityFrom(const ParsedArgs& args, std::string& error);

// Whether the arguments ask for a command's help (-h or --help before any
// "--"): the help is all the command does then.
bool HelpAsked(const std::vector<std::string>& args);

// A name of the command line as the engine must be given it. The engine
// takes a name's drive from its first letters ("C:"), which a name relative
// to the current folder (".", "..\out", "\out", "C:out") does not begin with:
// where names have drives this is the full name, elsewhere the name as typed.
std::string FullName(const std::string& name);

// The folder a command writes to when -d does not say: the one that holds
// `file` ("." for a bare name), as FullName gives it.
std::string FolderOf(const std::string& file);

// Why `folder` cannot take a command's output (it does not exist, or it is
// not a folder); empty when it can.
std::string DestinationProblem(const std::string& folder);

// The length of a file; 0 when it cannot be asked (a fragment on a disk
// not yet in the drive).
uint64_t FileSizeOrZero(const std::string& name);

// "vtq: " + message on standard error, its control characters shown
// escaped; returns the usage exit status 2.
int UsageError(const std::string& message);

// Why `name` cannot be read as a file when something that is not one stands
// there (a FIFO, a device, a socket): reading it would wait or never end.
// Empty for a regular file, a folder or nothing at all, which the engine
// reports in its own words.
std::string NotAFileProblem(const std::string& name);

}  // namespace vtq::cli
