#pragma once
// The engine object that joins fragment series back into files: the format
// queries over a series' first fragment and the assemble run.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/file_list.h"
#include "engine/format.h"
#include "engine/item_index.h"

namespace vtq {

class Globals;

// The built-in passphrase; the splitter's key defaults to the same text.

// The container's side of a run, raised synchronously from inside Assemble.
class AssemblerEvents {
 public:
  virtual ~AssemblerEvents() = default;
  // "Occurs at start of assemble process to initialize progress bars"
  virtual void AssembleStart(int16_t pbMax) = 0;
  // "Occurs at regular intervals to support progress bars"
  virtual void AssembleInterval(int16_t pbCurrent) = 0;
  // "Occurs when another disk is required by VazeVezazu. Set Cancel to TRUE to abort"
  virtual void RequireNextDisk(int16_t diskNumber, bool& cancel) = 0;
  // Not events of the object model: questions a front end may answer.
  // The name for a series whose fragments carry none (raw data); left
  // empty, it is assembled as its stem + "Unk".
  virtual void NameUnformattedSeries(const std::string& /*firstFragment*/, std::string& /*name*/) {}
  // Asked when a whole output (`output`) is about to take the place of a
  // file already there; false keeps that file and discards the output.
  virtual bool ReplaceExisting(const std::string& /*existing*/, const std::string& /*output*/) {
    return true;
  }
};

class ActiveAssembler {
 public:
  ActiveAssembler(Globals& globals, AssemblerEvents& events);
  ~ActiveAssembler();
  ActiveAssembler(const ActiveAssembler&) = delete;
  ActiveAssembler& operator=(const ActiveAssembler&) = delete;

  // "Returns a reference to a FileList object. Holds a list of the first
  // fragment in every series to assemble"
  FileList& FilesToAssemble() { return files_; }

  // "Returns / sets the destination folder of the assembled file"; the
  // stored text always ends in the separator.
  const std::string& DestinationFolder() const { return destination_; }
  void DestinationFolder(std::string folder);

  // "Returns TRUE if it is possible that the fragment specified is in the
  // format specified"
  bool FormatCouldBe(const ItemIndex& filename, AftFileFormat frmt);
  // "Returns the fileformat of the fragments specified - must be in
  // FilesToAssemble collection"
  AftFileFormat FileFormat(const ItemIndex& filename);
  // "The fileformat to treat unknown fragments as. aftRaw is recommended"
  AftFileFormat FormatForUnknowns() const { return formatForUnknowns_; }
  void FormatForUnknowns(AftFileFormat format) { formatForUnknowns_ = format; }
  // "Returns the number of fragments in the series specified"
  int16_t FragmentCount(const ItemIndex& filename);
  // "Returns the filename when assembled of the fragment specified by
  // filename in the FilesToAssemble collection". nullopt is the empty variant
  // (a FormatForUnknowns outside the three formats).
  std::optional<std::string> AssembledFilename(const ItemIndex& filename);
  // "Begins the assemble process"
  void Assemble();

  const std::string& DecryptionKey() const { return decryptionKey_; }
  // The caller's text is taken over and left wiped.
  void DecryptionKey(std::string key);
  // The program's build only: the control's fails to link a call.
  bool KeyValid(const ItemIndex& filename);

  // Engine-internal: the foreign header of a first fragment (as stored),
  // the own format's series header records (the source name read back,
  // engine/stored_name.h), and one series' run.
  std::string Header(const ItemIndex& filename);
  SeriesHeader ReadSeriesHeaders(const ItemIndex& filename);
  // The same headers without a word to the user about features this build
  // lacks: for a caller that only looks, such as a script's verify.
  SeriesHeader PeekSeriesHeaders(const ItemIndex& filename);
  void AssembleSeries(const std::string& firstFragment);

  // Where the run will write the series of `filename`: DestinationFolder +
  // the assembled name reduced to a safe base name (stem + "Unk" when
  // nothing usable is left). Shows the header queries' messages.
  std::string OutputPathFor(const ItemIndex& filename);
  // How many series the last Assemble wrote out whole.
  int CompletedSeries() const { return completedSeries_; }
  // The names the last Assemble kept unfinished outputs under, in order.
  const std::vector<std::string>& KeptPartials() const { return keptPartials_; }

 private:
  // The first bytes of the fragment, at most the recognition window.
  std::string RecognitionWindow(const ItemIndex& filename);
  std::string SafeOutputPath(const std::string& firstFragment,
                             const std::optional<std::string>& assembledName) const;
  // Whether the drive of the list's first entry (of `firstFragment` when
  // the list is empty) is removable.
  bool ListDiskRemovable(const std::string& firstFragment);
  // The 16-bit count of the file names stem + 001, 002, ... that open.
  int16_t ProbeFragments(const std::string& firstFragment) const;
  class SeriesRun;

  // What differs between the program's build (engine/program/) and the
  // control's (engine/control/), which neither verifies nor deciphers.
  // The warning a series header gets beyond the format's own ones.
  void WarnOfUnsupportedHeader(const SeriesHeader& header);
  // Whether the run may go on with an encrypted series; shows why not.
  bool AcceptEncryptedSeries(const std::string& firstFragment);
  // Checks a fragment of a checkable series (still ending in its check
  // digits). On a refusal it calls `closeFiles` and raises the
  // checkability failure.
  void VerifyFragment(std::span<const uint8_t> fragment, int32_t number,
                      const std::function<void()>& closeFiles);
  void Decipher(std::span<uint8_t> data);

  Globals& globals_;
  AssemblerEvents& events_;
  FileList files_;
  std::string destination_;
  AftFileFormat formatForUnknowns_ = aftRaw;
  int completedSeries_ = 0;
  std::vector<std::string> keptPartials_;
  std::string decryptionKey_{kBuiltInPassphrase};
};

}  // namespace vtq
