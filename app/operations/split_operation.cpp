#include "app/operations/split_operation.h"

#include <algorithm>

#include "app/operations/checksum_file.h"
#include "app/operations/command_steps.h"
#include "app/operations/routed_events.h"
#include "app/operations/series_replacement.h"
#include "app/operations/series_side_files.h"

#include "engine/assembled_name.h"
#include "engine/program/batgen.h"
#include "engine/program/error_trap.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/same_file.h"
#include "engine/secure_wipe.h"
#include "engine/working_file.h"

namespace vtq {
namespace {

constexpr const char* kSecurityCheck = "Security check";

// Passes the engine's events on to the front end and counts what was written.
class WrittenTally : public SplitterEvents {
 public:
  WrittenTally(SplitterEvents& next, SplitResult& result) : next_(next), result_(result) {}

#ifndef VTQ_CONTROL_BUILD
  void MultisizeFlagChange(bool multisize) override {
    next_.MultisizeFlagChange(multisize);
  }
#endif
  void SplitStart(int32_t pbMax) override {
    next_.SplitStart(pbMax);
  }
  void SplitInterval(int32_t pbCurrent) override {
    next_.SplitInterval(pbCurrent);
  }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    next_.RequireNextDisk(diskNumber, cancel);
  }
  void NotEnoughDiskSpace(bool& cancel) override {
    next_.NotEnoughDiskSpace(cancel);
  }
  void FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) override {
    ++result_.written;
    result_.bytesWritten += bytes;
    next_.FragmentWritten(number, name, bytes);
  }

 private:
  SplitterEvents& next_;
  SplitResult& result_;
};

// Sizes beyond 32 bits are clamped by the splitter like any other.
int32_t AsSize(int64_t bytes) {
  return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

void Configure(ActiveSplitter& splitter, const SplitRequest& request) {
  splitter.SetDestinationFolder(request.destination);
  splitter.SetFileFormat(request.format);
  // A first size an earlier command set goes unless this one sets one.
  splitter.SetDifferentSizeAtStart(false);
  if (request.fragmentSize) {
    int32_t size = AsSize(*request.fragmentSize);
    splitter.SetFragmentSize(size);
  }
  if (request.firstSize) {
    int32_t first = AsSize(*request.firstSize);
    splitter.SetFragmentSizeAtStart(first);
  }
  splitter.SetCheckabilityEnabled(request.checkDigits);
  splitter.SetCABIsMultifile(request.cabinetIsMultifile);
  if (request.passphrase) {
    splitter.SetEncryptionKey(*request.passphrase);
  } else {
    splitter.SetUseEncryption(false);
  }
}

// Only the first fragment carries the batch file along; regenerating any
// other leaves the series' batch file as it is.
bool WritesBatchFile(const SplitRequest& request) {
  return request.writeBatchFile && request.regenerate <= 1;
}

}  // namespace

SplitterFigures SplitterFiguresOf(ActiveSplitter& splitter) {
  SplitterFigures figures;
  figures.fragmentSize = splitter.FragmentSize();
  figures.fragmentSizeAtStart = splitter.FragmentSizeAtStart();
  const FileList& files = splitter.FilesToSplit();
  if (!files.Empty()) {
    // A file that has gone since reads 0 rather than failing the report.
    figures.firstFileLength = 0;
    try {
      figures.firstFileLength = FileLength(*files.begin());
    } catch (const VbError&) {
    }
  }
  return figures;
}

namespace {

// The passphrase typed twice; kNone with the passphrase in `typed`, or why
// there is none.
SplitStop AskTwice(Prompts& prompts, std::string& typed) {
  if (!prompts.CanAskPassphrase())
    return SplitStop::kPassphraseCannotBeAsked;
  std::optional<std::string> first =
      prompts.AskPassphrase(kSecurityCheck, "Please enter the passphrase to encrypt with.");
  std::optional<std::string> second =
      first ? prompts.AskPassphrase(kSecurityCheck, "Please enter the passphrase again.")
            : std::nullopt;
  SplitStop stop = SplitStop::kNone;
  if (!first || first->empty()) {
    stop = SplitStop::kPassphraseNotTyped;
  } else if (!second || *first != *second) {
    stop = SplitStop::kPassphrasesDiffer;
  } else {
    typed = *first;
  }
  SecureWipe(first);
  SecureWipe(second);
  return stop;
}

// Nothing is written when the batch file cannot be written safely: a name a
// batch line or the console's code page cannot carry, or a batch file that
// would be the source itself (setup.BAT split into its own folder; on
// Windows setup.bat too).
SplitStop CheckBatchFile(const std::string& source, const Platform& platform, SplitResult& result) {
  if (auto problem = BatNameProblem(BaseName(source), *platform.batchCodePage)) {
    result.problem = std::move(*problem);
    return SplitStop::kBatchNameUnsafe;
  }
  if (SameFile(result.batchFile, source))
    return SplitStop::kBatchWouldReplaceSource;
  return SplitStop::kNone;
}

// Nothing is written when a whole series would take the source's name for
// one of its side files, or write over one that is the user's own.
SplitStop CheckSideFiles(const SplitRequest& request, const std::string& firstFragment,
                         SplitResult& result) {
  if (const auto named = SideFileThatIsSource(request.source, firstFragment)) {
    result.problem = std::string("The file being split has the name of the series' ") +
                     (named->kind == SideFileKind::kChecksum ? "checksum" : "recovery") +
                     " file (" + named->name + "). Please choose another destination folder.";
    return SplitStop::kSideFileIsSource;
  }
  const std::string baseStem = BaseName(SeriesStem(firstFragment));
  for (const SideFile& file : SideFilesThere(firstFragment)) {
    const bool written =
        file.kind == SideFileKind::kChecksum ? request.writeChecksums : request.writeRecovery;
    if (written && !SideFileBelongs(file, baseStem)) {
      result.problem = ForeignSideFileText(file) +
                       ": it is kept. Please move it away or choose another destination folder.";
      return SplitStop::kSideFileInTheWay;
    }
  }
  return SplitStop::kNone;
}

// Written beside its name and renamed over it, so that a link planted at the
// name is replaced, never written through.
void WriteBatchFile(const std::string& name, const std::string& text) {
  WorkingFile batch(name);
  const std::string content = text + "\r\n";
  batch.Write(content.data(), content.size());
  batch.Complete();
}

// Written before the run, so that on a removable disk the first fragment
// is measured with the batch file already there.
SplitStop WriteSeriesBatchFile(ActiveSplitter& splitter, SplitResult& result,
                               std::string& written) {
  written = splitter.BatGen_String(1);
  if (written.empty())
    return SplitStop::kBatchFileNotGenerated;
  WriteBatchFile(result.batchFile, written);
  result.batchFileWritten = true;
  return SplitStop::kNone;
}

// The first fragment fills the disk. A smaller first fragment can add one
// to the series, and a batch file that does not name it would join the
// file short: it is written again and the space measured again. It only
// grows by one name each time, so this settles at once.
void FitFirstFragmentToDisk(ActiveSplitter& splitter, const SplitRequest& request,
                            SplitResult& result, std::string& batchText) {
  constexpr int kMeasurements = 3;
  for (int measured = 0; measured < kMeasurements; ++measured) {
    int32_t free = AsSize(request.freeSpaceAtStart());
    splitter.SetFragmentSizeAtStart(free);
    result.fragmentsInSeries = splitter.FragsNeeded(1);
    if (!result.batchFileWritten)
      return;
    const std::string text = splitter.BatGen_String(1);
    if (text == batchText)
      return;
    WriteBatchFile(result.batchFile, text);
    batchText = text;
  }
}

// Asks before fragments of another series are written over; false stops
// the run. Only a first fragment that names its source can tell.
bool MayReplaceWhatIsThere(Globals& globals, const std::string& source, SplitResult& result) {
  const std::string first = result.destination + StemOf(BaseName(source)) + FragmentNumber(1);
  const std::optional<std::string> other = OtherSeriesAt(globals, first, BaseName(source));
  if (!other)
    return true;
  return globals.GetPlatform().boxes.Show(
             ReplaceFragmentsQuestion(first, *other), kReplaceFragmentsTitle,
             mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2) == mb::kIdYes;
}

SplitStop Run(const SplitRequest& request, ActiveSplitter& splitter, Globals& globals,
              Prompts& prompts, CommandSteps& steps, SplitResult& result) {
  int16_t refused = 0;
  steps.Run([&] {
    splitter.FilesToSplit().Clear();
    refused = splitter.FilesToSplit().Add(request.source);
  });
  if (refused != 0)
    return SplitStop::kSourceRefused;
  std::string source;
  SplitStop batchProblem = SplitStop::kNone;
  steps.Run([&] {
    Configure(splitter, request);
    source = splitter.FilesToSplit().Item(1);
    result.destination = splitter.DestinationFolder();
    result.batchFile = result.destination + StemOf(BaseName(source)) + "BAT";
    if (WritesBatchFile(request))
      batchProblem = CheckBatchFile(source, globals.GetPlatform(), result);
    result.fragmentsInSeries = splitter.FragsNeeded(1);
  });
  if (batchProblem != SplitStop::kNone)
    return batchProblem;
  const std::string firstFragment =
      result.destination + StemOf(BaseName(request.source)) + FragmentNumber(1);
  result.firstFragment = firstFragment;
  if (request.regenerate <= 0) {
    SplitStop sideProblem = SplitStop::kNone;
    steps.Run([&] { sideProblem = CheckSideFiles(request, firstFragment, result); });
    if (sideProblem != SplitStop::kNone)
      return sideProblem;
  }
  // A first fragment fitted to the disk may add one; the count is checked
  // again once it is known.
  const int64_t highest = result.fragmentsInSeries + (request.freeSpaceAtStart ? 1 : 0);
  if (request.regenerate > highest)
    return SplitStop::kNoSuchFragment;
  // Anything not above 0 is a whole series to the splitter.
  splitter.SetRegenerateFragment(static_cast<int16_t>(std::max<int64_t>(request.regenerate, 0)));
  if (request.askPassphrase) {
    std::string typed;
    const WipeOnExit wipe(typed);
    if (const SplitStop stop = AskTwice(prompts, typed); stop != SplitStop::kNone)
      return stop;
    splitter.SetEncryptionKey(typed);
  }
  if (!MayReplaceWhatIsThere(globals, source, result))
    return SplitStop::kReplaceDeclined;
  if (request.confirm && !request.confirm(result.fragmentsInSeries))
    return SplitStop::kDeclined;
  std::string batchText;
  if (WritesBatchFile(request)) {
    SplitStop stop = SplitStop::kNone;
    steps.Run([&] { stop = WriteSeriesBatchFile(splitter, result, batchText); });
    if (stop != SplitStop::kNone)
      return stop;
  }
  if (request.freeSpaceAtStart) {
    steps.Run([&] { FitFirstFragmentToDisk(splitter, request, result, batchText); });
    if (request.regenerate > result.fragmentsInSeries)
      return SplitStop::kNoSuchFragment;
  }
  result.expected = request.regenerate > 0 ? 1 : result.fragmentsInSeries;
  prompts.PlaySound(kSoundSplitFile);
  steps.Run([&] { splitter.Split(); });
  if (request.regenerate <= 0 && result.Complete()) {
    steps.Run([&] {
      if (request.writeChecksums) {
        result.checksumFile =
            WriteSeriesChecksums(request.source, firstFragment, result.fragmentsInSeries);
      }
      // The digests and recovery files of the series this one replaced
      // would accuse its fragments or "rebuild" them with the old data; the
      // front end writes new recovery files if asked.
      result.keptSideFiles = RemoveReplacedSideFiles(firstFragment, request.writeChecksums);
    });
  }
  prompts.PlaySound(kSoundDoneWork);
  return SplitStop::kNone;
}

}  // namespace

SplitRequest::~SplitRequest() {
  SecureWipe(passphrase);
}

SplitResult RunSplitCommand(const SplitRequest& request, Globals& globals, SplitterEvents& events,
                            Prompts& prompts) {
  LastingSplitter splitter(globals);
  return RunSplitCommand(request, splitter, events, prompts);
}

SplitResult RunSplitCommand(const SplitRequest& request, LastingSplitter& lasting,
                            SplitterEvents& events, Prompts& prompts) {
  SplitResult result;
  WrittenTally tally(events, result);
  const RoutedEvents<LastingSplitter, SplitterEvents> routed(lasting, tally);
  ActiveSplitter& splitter = lasting.Splitter();
  // Error 5 has the split's own report, which the caller shows.
  CommandSteps steps(request.commandErrors, {err::kInvalidArgument});
  try {
    result.stop = Run(request, splitter, lasting.GetGlobals(), prompts, steps, result);
  } catch (const ProgramEndRequested&) {
    result.stop = SplitStop::kEndedAfterError;
  } catch (const CommandEndedByErrorDialog& ended) {
    result.stop = SplitStop::kEndedByErrorDialog;
    result.errorNumber = ended.Error().Number();
    result.errorDescription = ended.Error().Description();
  } catch (const VbError& e) {
    result.stop = SplitStop::kEngineError;
    result.errorNumber = e.Number();
    result.errorDescription = e.Description();
    result.errorFile = e.FileName();
    result.splitterAtError = SplitterFiguresOf(splitter);
  }
  return result;
}

}  // namespace vtq
