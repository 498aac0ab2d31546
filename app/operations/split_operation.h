#pragma once
// The split command: one source file into a fragment series, configured
// from what the front end's controls hold. It asks through Prompts, reports
// the engine's progress through the front end's SplitterEvents, and leaves
// every message of its own to the front end: the result says how the run
// ended and with what.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/prompts.h"
#include "app/operations/series_side_files.h"
#include "engine/format.h"
#include "engine/globals.h"
#include "engine/program/error_trap.h"
#include "engine/splitter.h"

namespace vtq {

struct SplitRequest {
  SplitRequest() = default;
  // The passphrase goes with the request.
  ~SplitRequest();
  SplitRequest(const SplitRequest&) = delete;
  SplitRequest& operator=(const SplitRequest&) = delete;

  std::string source;
  std::string destination;
  // nullopt keeps the splitter's own size: on a lasting splitter, the one
  // the last command set.
  std::optional<int64_t> fragmentSize = aftHighDensity;
  std::optional<int64_t> firstSize;  // a different size for the first fragment
  AftFileFormat format = aftQuorvelle;
  bool checkDigits = false;
  std::optional<std::string> passphrase;  // encrypts when present
  bool askPassphrase = false;             // typed twice once the series is known
  // The one fragment to write again; 0 (or less) for all. A number beyond
  // the series stops the command with kNoSuchFragment.
  int64_t regenerate = 0;
  // Beside a raw series; a regenerated fragment other than the first
  // neither writes nor removes it.
  bool writeBatchFile = false;
  // The source is a cabinet packed from a folder: the batch file extracts
  // it into a folder of its own.
  bool cabinetIsMultifile = false;
  // A checksum file beside a whole series (app/operations/checksum_file.h).
  // A whole series written without one removes the older series' file; a
  // regenerated fragment leaves it as it is.
  bool writeChecksums = false;
  // The front end writes the series' recovery files once it is complete.
  // A whole series removes the older series' recovery files either way.
  // Side files there that are not the series' own (series_side_files.h)
  // stay: when they would be written over, nothing is written at all.
  bool writeRecovery = false;
  // On a removable disk the first fragment takes what the disk has free:
  // asked once the batch file is on it, just before the run.
  std::function<int64_t()> freeSpaceAtStart;
  // Asked once the series is known and every check has passed, before
  // anything is written, with the number of fragments the series takes;
  // false stops the run.
  std::function<bool(int16_t fragmentsInSeries)> confirm;
  // Answers the errors of the command's own steps (the window's error
  // dialog); without it they stop the command with kEngineError. Error 5
  // always stops it, for the caller's report.
  ErrorAdvisor* commandErrors = nullptr;
};

// What the splitter held when an error stopped the command.
struct SplitterFigures {
  int32_t fragmentSize = 0;
  int32_t fragmentSizeAtStart = 0;
  // The size of the first file to split (0 when it has gone since); nullopt
  // when the list was empty.
  std::optional<uint64_t> firstFileLength;
};

enum class SplitStop {
  kNone,                     // the run happened; the counts say how far it got
  kSourceRefused,            // the file list refused the source and said why
  kBatchNameUnsafe,          // `problem` says which character, and why
  kBatchWouldReplaceSource,  // nothing was written
  kSideFileIsSource,         // `problem` says which; nothing was written
  kSideFileInTheWay,         // a file of the user's would be replaced; `problem`
  kNoSuchFragment,           // regenerate beyond `fragmentsInSeries`
  kDeclined,                 // the confirmation said no; nothing was written
  kPassphraseCannotBeAsked,  // nobody to ask
  kPassphraseNotTyped,       // the first answer was empty or missing
  kPassphrasesDiffer,        // the two answers differ
  kEndedAfterError,          // the error dialog's answer ended the program
  kEndedByErrorDialog,       // its answer ended the command; `errorNumber` says what
  kEngineError,              // `errorNumber`, `errorDescription`
  kBatchFileNotGenerated,    // the generator has said why
  kReplaceDeclined,          // fragments of another series stood there; nothing was written
};

struct SplitResult {
  SplitStop stop = SplitStop::kNone;
  std::string destination;    // the splitter's folder, with its separator
  std::string firstFragment;  // the series' first fragment there, once known
  std::string batchFile;      // where the batch file goes (or would go)
  bool batchFileWritten = false;
  std::string problem;
  int16_t fragmentsInSeries = 0;
  int32_t errorNumber = 0;
  std::string errorDescription;
  std::string errorFile;            // the file the error was about, when it named one
  SplitterFigures splitterAtError;  // with kEngineError
  int expected = 0;                 // fragments a complete run writes
  int written = 0;
  uint64_t bytesWritten = 0;
  std::string checksumFile;  // where the checksums were written, when asked
  // Side files of the series replaced that are not its own, left as they are.
  std::vector<SideFile> keptSideFiles;

  bool Complete() const { return written == expected && expected > 0; }
};

// The splitter a front end keeps for its whole life, as the window keeps
// its one: what a command sets on it is where the next one starts (the size
// "Fill space" splits with, the passphrase). The events of each run go to
// the SplitterEvents of the command that runs it.
class LastingSplitter {
 public:
  explicit LastingSplitter(Globals& globals) : globals_(globals), splitter_(globals, route_) {}
  LastingSplitter(const LastingSplitter&) = delete;
  LastingSplitter& operator=(const LastingSplitter&) = delete;

  ActiveSplitter& Splitter() { return splitter_; }
  Globals& GetGlobals() { return globals_; }
  // Where the events go from now on; null drops them.
  void RouteEventsTo(SplitterEvents* events) { route_.to = events; }

 private:
  class Route final : public SplitterEvents {
   public:
    SplitterEvents* to = nullptr;
#ifndef VTQ_CONTROL_BUILD
    void MultisizeFlagChange(bool multisize) override {
      if (to)
        to->MultisizeFlagChange(multisize);
    }
#endif
    void SplitStart(int32_t pbMax) override {
      if (to)
        to->SplitStart(pbMax);
    }
    void SplitInterval(int32_t pbCurrent) override {
      if (to)
        to->SplitInterval(pbCurrent);
    }
    void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
      if (to)
        to->RequireNextDisk(diskNumber, cancel);
    }
    void NotEnoughDiskSpace(bool& cancel) override {
      if (to)
        to->NotEnoughDiskSpace(cancel);
    }
    void FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) override {
      if (to)
        to->FragmentWritten(number, name, bytes);
    }
  };

  Globals& globals_;
  Route route_;
  ActiveSplitter splitter_;
};

// The figures the split report shows of a splitter.
SplitterFigures SplitterFiguresOf(ActiveSplitter& splitter);

// A run on a splitter of its own, which goes with the run.
SplitResult RunSplitCommand(const SplitRequest& request, Globals& globals, SplitterEvents& events,
                            Prompts& prompts);
// A run on the front end's lasting splitter.
SplitResult RunSplitCommand(const SplitRequest& request, LastingSplitter& splitter,
                            SplitterEvents& events, Prompts& prompts);

}  // namespace vtq
