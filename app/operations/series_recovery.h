#pragma once
// The recovery commands of a series, for every front end: writing its
// recovery files once it is complete, finding what they could still
// rebuild, rebuilding lost and damaged fragments with them, and whether an
// assembly should offer that first. The files are named by
// series_side_files.h; what the series makes of what they find is
// SortRecoveryFaults' word (series_verification.h). Nothing here speaks:
// the results say what happened, and the front end words it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/series_verification.h"
#include "engine/globals.h"

namespace vtq {

// What a recovery command is doing, for a progress bar. Each step (writing,
// checking, rebuilding) reports bytes done of its own total from 0, and
// ends with StepEnded, also when it fails.
class RecoveryEvents {
 public:
  virtual ~RecoveryEvents() = default;
  virtual void Progress(uint64_t done, uint64_t total) = 0;
  virtual void StepEnded() = 0;
};

// An error of the engine a command stopped at.
struct RecoveryError {
  int32_t number = 0;
  std::string description;
  std::string file;  // the file it was about, when it named one
};

// The share of recovery data to write: a percentage of the series' slices,
// or a number of recovery slices when `count` is not 0.
struct RecoveryAmount {
  std::optional<double> percent;  // 10 when neither is given
  uint32_t count = 0;
};

// A share of recovery data as typed: a number, a "%" after it allowed,
// more than 0 and at most 100; nullopt when the text is none.
std::optional<double> ParseRecoveryPercent(std::string text);

struct WriteRecoveryRequest {
  std::vector<std::string> fragments;  // full names, in order
  RecoveryAmount amount;
  std::string creator = "Created by Vantrelloquin.";
};

enum class WriteRecoveryStop {
  kNone,
  kFragmentNotThere,  // `absentFragment` is not in the folder: a series across disks
  kBeyondLimits,      // more than 32768 slices or 65535 recovery slices
  kOutOfMemory,       // the tables did not fit
  kEngineError,       // `error`
};

struct WriteRecoveryResult {
  WriteRecoveryStop stop = WriteRecoveryStop::kNone;
  std::string absentFragment;
  RecoveryError error;
  std::vector<std::string> files;  // written: the index file first, then the volumes
  uint64_t sliceSize = 0;
  uint32_t recoverySlices = 0;
  // How many lost fragments, each whole, the files can rebuild.
  uint64_t fragmentsRebuildable = 0;
};

// Writes the recovery files of a complete series beside it. Nothing is
// written unless every fragment is there.
WriteRecoveryResult WriteSeriesRecovery(const WriteRecoveryRequest& request,
                                        RecoveryEvents& events);

// Whether recovery files of the series of `firstFragment` are there.
bool HasRecoveryFiles(const std::string& firstFragment);

// What the recovery files beside a series find of it, for verify.
struct RecoveryCapacity {
  std::vector<std::string> files;  // the index file first; empty when none are there
  std::string refusal;             // the set is not used, and why
  bool setComplete = false;        // false: no complete recovery set in them
  bool checked = false;            // the fragments were read against the set
  RecoveryFaults faults;           // the series' fragments at fault, as the series sees them
  size_t filesAtFault = 0;         // of the set, whatever the series makes of them
  uint64_t lostSlices = 0;
  uint64_t recoverySlices = 0;  // in the files
  // After rebuilding what is at fault: how many more lost fragments they
  // could rebuild. Meaningless when `TooFew()`.
  uint64_t moreFragments = 0;

  bool Found() const { return !files.empty(); }
  bool TooFew() const { return lostSlices > recoverySlices; }
};

// Reads the series' fragments against its recovery files (`series` being
// the series' own check of them).
RecoveryCapacity LookAtRecoveryFiles(const std::string& firstFragment, const VerifyReport& series);

// A series checked in full: its own checks, and what its recovery files
// find (their findings added to the report, so that the verdict is one).
struct SeriesVerification {
  VerifyReport report;
  RecoveryCapacity recovery;
};
SeriesVerification VerifySeriesAndRecovery(const VerifyRequest& request, Globals& globals);

// A file of the recovery set found missing or damaged that the repair
// rebuilds.
struct FileAtFault {
  std::string name;
  bool missing = true;  // false: damaged
  size_t lostSlices = 0;
  size_t slices = 0;
};

enum class RepairStop {
  kNone,             // the set was read; the rest says what came of it
  kNoRecoveryFiles,  // none are there under `indexFile`
  kSetRefused,       // `refusal`
  kNoCompleteSet,    // the files hold no complete recovery set
};

struct RecoveryRepair {
  RepairStop stop = RepairStop::kNone;
  std::string indexFile;
  std::vector<std::string> files;       // the recovery files found, index first
  std::vector<std::string> unreadable;  // of them
  std::vector<std::string> damaged;     // of them; their sound packets are used
  std::string refusal;
  size_t setFiles = 0;                  // the files the set covers
  bool setIntact = false;               // every file the set covers was found as it describes it
  bool wasWhole = false;                // nothing of the series needed rebuilding
  std::vector<FileAtFault> atFault;     // by name
  std::vector<std::string> provenGood;  // left as they are
  std::vector<std::string> others;      // not fragments of the series; left as they are
  std::string problem;                  // why nothing was rebuilt
  std::vector<std::string> rebuilt;     // by name
  std::vector<std::string> notRebuilt;  // by name
  bool outOfMemory = false;
  std::optional<RecoveryError> error;  // the engine stopped the check or the rebuilding

  bool SetFound() const { return stop == RepairStop::kNone; }
  bool Whole() const { return SetFound() && notRebuilt.empty(); }
};

// Checks the files of the recovery set of `indexFile` (and its volumes) and
// rebuilds the series' fragments that are missing or damaged as `series`,
// the series' own check, sees them. The set's names are the series'
// fragments beside `firstFragment`, wherever the set itself lies; a name
// that would lead out of that folder refuses the set.
RecoveryRepair RepairFromRecoveryFiles(const std::string& indexFile,
                                       const std::string& firstFragment, const VerifyReport& series,
                                       RecoveryEvents& events);

struct RepairRequest {
  VerifyRequest series;   // its first fragment, passphrase and --unknown-as
  std::string indexFile;  // empty: the series' own (RecoveryIndexName)
  // Verify the series once rebuilt, fragments the set does not cover too.
  bool verifyAfter = true;
};

// Check, repair, check: the series' own checks speak first (they name a
// damaged fragment without reading every byte, and what they prove good no
// recovery set replaces), then the recovery files, then the verdict of
// verify on the result.
struct SeriesRepair {
  std::optional<VerifyReport> before;  // when the first fragment was there
  RecoveryRepair repair;
  bool firstNotCovered = false;       // still not there once rebuilt
  std::optional<VerifyReport> after;  // with verifyAfter, once the set made it whole

  bool Sound() const { return repair.Whole() && !firstNotCovered && (!after || after->Sound()); }
};
SeriesRepair RepairSeries(const RepairRequest& request, Globals& globals, RecoveryEvents& events);

// Before an assembly: the files the series' recovery set names that are
// missing or not of their length (nothing is read but the index file). When
// there are any, the repair is offered first.
struct RepairBeforeAssembling {
  std::string indexFile;
  std::vector<std::string> lacking;
  bool Offer() const { return !lacking.empty(); }
};
RepairBeforeAssembling LookBeforeAssembling(const std::string& firstFragment);

// The question that offers it.
std::string RepairOfferText(const std::string& indexFile);
inline constexpr const char* kRepairOfferTitle = "Repair";

// An assembly made without the rebuilding it was offered is no success
// unless the checksum file vouches for the result.
bool AssemblyInDoubt(const RepairBeforeAssembling& look, bool repaired, bool checksumMatches);

}  // namespace vtq
