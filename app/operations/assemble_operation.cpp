#include "app/operations/assemble_operation.h"

#include <optional>

#include "app/operations/checksum_file.h"
#include "app/operations/command_steps.h"
#include "app/operations/routed_events.h"
#include "app/operations/raw_series_name.h"
#include "app/operations/runtime_error_box.h"
#include "app/operations/series_replacement.h"
#include "app/operations/series_verification.h"
#include "app/operations/sha256.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/secure_wipe.h"

namespace vtq {
namespace {

constexpr const char* kPassphrasePrompt =
    "This fragment series has been encrypted. Please enter the correct password. Passwords are "
    "case-sensitive.";

constexpr auto kNoAnswerYet = static_cast<AftFileFormat>(-1);

// The assembled file is read once more and compared with the source's digest
// in the series' checksum file, when there is one.
void CheckAgainstChecksumFile(const std::string& firstFragment, AssembleResult& result) {
  SeriesChecksums sums;
  const ChecksumFileState state = ReadSeriesChecksums(firstFragment, sums);
  if (state == ChecksumFileState::kAbsent)
    return;
  result.checksumFile = ChecksumFileName(firstFragment);
  if (state == ChecksumFileState::kUnreadable) {
    result.checksum = ChecksumVerdict::kUnreadable;
    return;
  }
  result.checksum = Sha256OfFile(result.outputPath) == sums.source.digest
                        ? ChecksumVerdict::kMatches
                        : ChecksumVerdict::kDiffers;
}

// The run's events: the front end's progress and disks, the name a raw
// series' batch file gives it, and the question before the output takes
// the place of a different file.
class CommandEvents final : public AssemblerEvents {
 public:
  CommandEvents(AssembleWatcher& watcher, MessageBoxes& boxes) : watcher_(watcher), boxes_(boxes) {}

  void AssembleStart(int16_t pbMax) override { watcher_.AssembleStart(pbMax); }
  void AssembleInterval(int16_t pbCurrent) override { watcher_.AssembleInterval(pbCurrent); }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    watcher_.RequireNextDisk(diskNumber, cancel);
  }
  void NameUnformattedSeries(const std::string& firstFragment, std::string& name) override {
    if (const auto named = RawSeriesNameFromBatchFile(firstFragment))
      name = *named;
  }
  bool ReplaceExisting(const std::string& existing, const std::string& output) override {
    bool same = false;
    try {
      same = SameContents(existing, output);
    } catch (const VbError&) {
      // What cannot be read to the end cannot be told the same.
    }
    if (same)
      return true;
    declined_ = boxes_.Show(ReplaceFileQuestion(existing), kReplaceFileTitle,
                            mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2) != mb::kIdYes;
    return !declined_;
  }

  bool Declined() const { return declined_; }

 private:
  AssembleWatcher& watcher_;
  MessageBoxes& boxes_;
  bool declined_ = false;
};

AssembleStop Run(const AssembleRequest& request, ActiveAssembler& assembler, Prompts& prompts,
                 Globals& globals, CommandSteps& steps, const CommandEvents& events,
                 AssembleResult& result) {
  MessageBoxes& boxes = globals.GetPlatform().boxes;
  int16_t refused = 0;
  steps.Run([&] {
    assembler.FilesToAssemble().Clear();
    refused = assembler.FilesToAssemble().Add(request.firstFragment);
  });
  if (refused != 0)
    return AssembleStop::kFragmentRefused;
  assembler.DestinationFolder(request.destination);

  assembler.FormatForUnknowns(request.unknownAs.value_or(kNoAnswerYet));
  AftFileFormat format = aftRaw;
  steps.Run([&] { format = assembler.FileFormat(1); });
  if (!request.unknownAs && format == kNoAnswerYet) {
    switch (prompts.AskYesNoCancel(kUnknownFormatQuestion, kUnknownFormatTitle)) {
      case Answer::kYes:
        assembler.FormatForUnknowns(aftRaw);
        break;
      case Answer::kNo:
        assembler.FormatForUnknowns(aftBrannock);
        break;
      case Answer::kCancel:
        return AssembleStop::kQuestionCancelled;
    }
  }

  if (request.passphrase)
    assembler.DecryptionKey(*request.passphrase);  // copied, the copy taken over
  bool locked = false;
  steps.Run([&] { locked = assembler.FileFormat(1) == aftQuorvelle && !assembler.KeyValid(1); });
  // A key that opened the series before (a lasting assembler's) opens it
  // again without a question.
  if (locked) {
    // A passphrase given with the request was the answer already.
    if (!request.passphrase) {
      if (!prompts.CanAskPassphrase())
        return AssembleStop::kPassphraseCannotBeAsked;
      std::optional<std::string> typed = prompts.AskPassphrase("Security check", kPassphrasePrompt);
      assembler.DecryptionKey(typed.value_or(std::string()));
      SecureWipe(typed);
    }
    bool opens = false;
    steps.Run([&] { opens = assembler.KeyValid(1); });
    if (!opens) {
      boxes.Show("Password incorrect", "Access denied", mb::kIconCritical);
      return AssembleStop::kPassphraseIncorrect;
    }
    // Where the dialog was is drawn again before the run holds the thread.
    globals.GetPlatform().loop.Yield();
  }

  // A fixed disk holds the whole series, so a gap is known before anything
  // is written; removable disks are asked for one by one instead. The type
  // is asked of the drive itself: a CD-ROM's warning comes once, from the run.
  steps.Run([&] {
    result.missingFragments.clear();
    const std::string root = DriveRoot(DriveOfName(request.firstFragment));
    if (globals.GetPlatform().drives.TypeOf(root) == DriveType::kRemovable)
      return;
    const bool ownFormat = assembler.FileFormat(1) == aftQuorvelle;
    result.missingFragments =
        MissingFragments(globals.GetPlatform().folders, assembler.FilesToAssemble().Item(1),
                         ownFormat ? assembler.FragmentCount(1) : 0, !ownFormat);
  });
  if (!result.missingFragments.empty()) {
    boxes.Show(FragmentsMissingText(result.missingFragments), kFragmentsMissingTitle,
               mb::kIconCritical);
    return AssembleStop::kFragmentsMissing;
  }

  steps.Run([&] { result.outputPath = assembler.OutputPathFor(1); });
  prompts.PlaySound(kSoundAssembleFile);
  steps.Run([&] { assembler.Assemble(); });
  if (events.Declined())
    return AssembleStop::kReplaceDeclined;
  if (assembler.CompletedSeries() != 1)
    return AssembleStop::kIncomplete;
  steps.Run([&] { CheckAgainstChecksumFile(assembler.FilesToAssemble().Item(1), result); });
  if (!request.doneSoundByCaller)
    prompts.PlaySound(kSoundDoneWork);
  return AssembleStop::kNone;
}

}  // namespace

std::string FragmentsMissingText(const std::vector<std::string>& names) {
  if (names.size() == 1)
    return "Fragment " + names.front() + " was not found. Nothing was assembled.";
  std::string list;
  for (const std::string& name : names)
    list += (list.empty() ? "" : ", ") + name;
  return "These fragments were not found: " + list + ". Nothing was assembled.";
}

AssembleRequest::~AssembleRequest() {
  SecureWipe(passphrase);
}

AssembleResult RunAssembleCommand(const AssembleRequest& request, Globals& globals,
                                  AssembleWatcher& watcher, Prompts& prompts) {
  LastingAssembler assembler(globals);
  return RunAssembleCommand(request, assembler, watcher, prompts);
}

AssembleResult RunAssembleCommand(const AssembleRequest& request, LastingAssembler& lasting,
                                  AssembleWatcher& watcher, Prompts& prompts) {
  AssembleResult result;
  Globals& globals = lasting.GetGlobals();
  MessageBoxes& boxes = globals.GetPlatform().boxes;
  ActiveAssembler& assembler = lasting.Assembler();
  CommandEvents events(watcher, boxes);
  const RoutedEvents<LastingAssembler, AssemblerEvents> routed(lasting, events);
  // The refused check was the user's own answer to the assembler's question.
  CommandSteps steps(request.commandErrors, {kCheckabilityFailed});
  std::optional<VbError> failure;
  try {
    result.stop = Run(request, assembler, prompts, globals, steps, events, result);
  } catch (const ProgramEndRequested&) {
    result.stop = AssembleStop::kEndedAfterError;
  } catch (const CommandEndedByErrorDialog& ended) {
    result.stop = AssembleStop::kEndedByErrorDialog;
    result.errorNumber = ended.Error().Number();
    result.errorDescription = ended.Error().Description();
  } catch (const VbError& e) {
    failure = e;
  }
  watcher.RunEnded();
  if (failure) {
    result.stop = AssembleStop::kEngineError;
    result.errorNumber = failure->Number();
    result.errorDescription = failure->Description();
    result.errorFile = failure->FileName();
    if (failure->Number() != kCheckabilityFailed && !request.errorToldByCaller)
      ShowRuntimeErrorBox(*failure, boxes);
  }
  result.keptPartials = assembler.KeptPartials();
  return result;
}

}  // namespace vtq
