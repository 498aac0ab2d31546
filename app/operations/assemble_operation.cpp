#include "app/operations/assemble_operation.h"

#include <optional>

#include "app/operations/checksum_file.h"
#include "app/operations/runtime_error_box.h"
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

AssembleStop Run(const AssembleRequest& request, ActiveAssembler& assembler, Prompts& prompts,
                 Globals& globals, AssembleResult& result) {
  MessageBoxes& boxes = globals.GetPlatform().boxes;
  if (assembler.FilesToAssemble().Add(request.firstFragment) != 0)
    return AssembleStop::kFragmentRefused;
  assembler.DestinationFolder(request.destination);

  assembler.FormatForUnknowns(request.unknownAs.value_or(kNoAnswerYet));
  if (!request.unknownAs && assembler.FileFormat(1) == kNoAnswerYet) {
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
  if (assembler.FileFormat(1) == aftQuorvelle && !assembler.KeyValid(1)) {
    // A passphrase given with the request was the answer already.
    if (!request.passphrase) {
      if (!prompts.CanAskPassphrase())
        return AssembleStop::kPassphraseCannotBeAsked;
      std::optional<std::string> typed = prompts.AskPassphrase("Security check", kPassphrasePrompt);
      assembler.DecryptionKey(typed.value_or(std::string()));
      SecureWipe(typed);
    }
    if (!assembler.KeyValid(1)) {
      boxes.Show("Password incorrect", "Access denied", mb::kIconCritical);
      return AssembleStop::kPassphraseIncorrect;
    }
  }

  // A fixed disk holds the whole series, so a gap is known before anything
  // is written; removable disks are asked for one by one instead. The type
  // is asked of the drive itself: a CD-ROM's warning comes once, from the run.
  const std::string root = DriveRoot(DriveOfName(request.firstFragment));
  if (globals.GetPlatform().drives.TypeOf(root) != DriveType::kRemovable) {
    const bool ownFormat = assembler.FileFormat(1) == aftQuorvelle;
    result.missingFragments =
        MissingFragments(globals.GetPlatform().folders, assembler.FilesToAssemble().Item(1),
                         ownFormat ? assembler.FragmentCount(1) : 0, !ownFormat);
    if (!result.missingFragments.empty()) {
      boxes.Show(FragmentsMissingText(result.missingFragments), kFragmentsMissingTitle,
                 mb::kIconCritical);
      return AssembleStop::kFragmentsMissing;
    }
  }

  result.outputPath = assembler.OutputPathFor(1);
  prompts.PlaySound(kSoundAssembleFile);
  assembler.Assemble();
  if (assembler.CompletedSeries() != 1)
    return AssembleStop::kIncomplete;
  CheckAgainstChecksumFile(assembler.FilesToAssemble().Item(1), result);
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
  AssembleResult result;
  MessageBoxes& boxes = globals.GetPlatform().boxes;
  ActiveAssembler assembler(globals, watcher);
  std::optional<VbError> failure;
  try {
    result.stop = Run(request, assembler, prompts, globals, result);
  } catch (const VbError& e) {
    failure = e;
  }
  watcher.RunEnded();
  if (failure) {
    result.stop = AssembleStop::kEngineError;
    result.errorNumber = failure->Number();
    result.errorDescription = failure->Description();
    result.errorFile = failure->FileName();
    // The refused check was the user's own answer to the assembler's question.
    if (failure->Number() != kCheckabilityFailed && !request.errorToldByCaller)
      ShowRuntimeErrorBox(*failure, boxes);
  }
  result.keptPartials = assembler.KeptPartials();
  return result;
}

}  // namespace vtq
