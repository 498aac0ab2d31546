#pragma once
// The assemble command: a fragment series back into its file, from what the
// front end's controls hold. The unknown-format question and the passphrase
// go through Prompts; the engine's failures are shown as boxes through the
// platform; what is left to tell is in the result.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/prompts.h"
#include "engine/assembler.h"
#include "engine/format.h"
#include "engine/globals.h"
#include "engine/program/error_trap.h"

namespace vtq {

// The unknown-format question, asked when a first fragment starts with a
// name-and-escape prefix that may be the older format or just data.
inline constexpr const char* kUnknownFormatQuestion =
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
inline constexpr const char* kUnknownFormatTitle = "Treat fragments as unformatted?";

struct AssembleRequest {
  AssembleRequest() = default;
  // The passphrase goes with the request.
  ~AssembleRequest();
  AssembleRequest(const AssembleRequest&) = delete;
  AssembleRequest& operator=(const AssembleRequest&) = delete;

  std::string firstFragment;
  std::string destination;
  // Tried first; asked for when absent or wrong for an encrypted series.
  std::optional<std::string> passphrase;
  // The answer to the unknown-format question when it is known beforehand
  // (aftRaw or aftBrannock); asked otherwise.
  std::optional<AftFileFormat> unknownAs;
  // The caller has steps of its own after a finished run and plays the
  // done sound after them.
  bool doneSoundByCaller = false;
  // The caller tells of an engine failure itself, from the result, and can
  // name the file it was about; no box is shown for it here.
  bool errorToldByCaller = false;
  // Answers the errors of the command's steps (the window's error dialog):
  // Retry runs the failed step again, and the assembly itself from its
  // start. Without it an error stops the command with kEngineError.
  ErrorAdvisor* commandErrors = nullptr;
};

// The front end's progress: the engine's events, and the end of the run
// before anything about it is shown.
class AssembleWatcher : public AssemblerEvents {
 public:
  virtual void RunEnded() = 0;
};

enum class AssembleStop {
  kNone,                     // the series was assembled into `outputPath`
  kFragmentRefused,          // the file list refused the fragment and said why
  kQuestionCancelled,        // the unknown-format question was cancelled
  kPassphraseIncorrect,      // "Password incorrect" was shown
  kPassphraseCannotBeAsked,  // encrypted, none given and nobody to ask; nothing shown
  kIncomplete,               // the run ended early; see `keptPartials`
  kEngineError,              // shown as a box unless it was the refused check
  kFragmentsMissing,         // `missingFragments` were named; nothing was written
  kReplaceDeclined,          // a different file of the output's name was kept
  kEndedAfterError,          // the error dialog's answer ended the program
  kEndedByErrorDialog,       // its answer ended the command; `errorNumber` says what
};

// What the series' checksum file said of the assembled file.
enum class ChecksumVerdict {
  kNoFile,      // the series has no checksum file
  kUnreadable,  // `checksumFile` is not in sha256sum's form
  kMatches,     // the assembled file has the source's digest
  kDiffers,     // it has not: the run counts as failed
};

struct AssembleResult {
  AssembleStop stop = AssembleStop::kNone;
  std::string outputPath;
  // What a run that ended early kept, so that it is not taken for the file.
  std::vector<std::string> keptPartials;
  int32_t errorNumber = 0;
  std::string errorDescription;
  std::string errorFile;  // the file the error was about, when it named one
  // On a fixed disk every fragment is looked for before anything is written.
  std::vector<std::string> missingFragments;
  ChecksumVerdict checksum = ChecksumVerdict::kNoFile;
  std::string checksumFile;
};

inline constexpr const char* kFragmentsMissingTitle = "Fragments missing";
// "Fragment data.003 was not found. Nothing was assembled." or, for several,
// "These fragments were not found: data.003, data.005. Nothing was assembled."
std::string FragmentsMissingText(const std::vector<std::string>& names);

// The assembler a front end keeps for its whole life, as the window keeps
// its one: the passphrase that opened a series stays for the next command.
// The events of each run go to the watcher of the command that runs it.
class LastingAssembler {
 public:
  explicit LastingAssembler(Globals& globals) : globals_(globals), assembler_(globals, route_) {}
  LastingAssembler(const LastingAssembler&) = delete;
  LastingAssembler& operator=(const LastingAssembler&) = delete;

  ActiveAssembler& Assembler() { return assembler_; }
  Globals& GetGlobals() { return globals_; }
  // Where the events go from now on; null drops them.
  void RouteEventsTo(AssemblerEvents* events) { route_.to = events; }

 private:
  class Route final : public AssemblerEvents {
   public:
    AssemblerEvents* to = nullptr;
    void AssembleStart(int16_t pbMax) override {
      if (to)
        to->AssembleStart(pbMax);
    }
    void AssembleInterval(int16_t pbCurrent) override {
      if (to)
        to->AssembleInterval(pbCurrent);
    }
    void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
      if (to)
        to->RequireNextDisk(diskNumber, cancel);
    }
    void NameUnformattedSeries(const std::string& firstFragment, std::string& name) override {
      if (to)
        to->NameUnformattedSeries(firstFragment, name);
    }
    bool ReplaceExisting(const std::string& existing, const std::string& output) override {
      return to == nullptr || to->ReplaceExisting(existing, output);
    }
  };

  Globals& globals_;
  Route route_;
  ActiveAssembler assembler_;
};

// A run on an assembler of its own, which goes with the run.
AssembleResult RunAssembleCommand(const AssembleRequest& request, Globals& globals,
                                  AssembleWatcher& watcher, Prompts& prompts);
// A run on the front end's lasting assembler.
AssembleResult RunAssembleCommand(const AssembleRequest& request, LastingAssembler& assembler,
                                  AssembleWatcher& watcher, Prompts& prompts);

}  // namespace vtq
