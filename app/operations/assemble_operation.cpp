#include "app/operations/assemble_operation.h"

#include "app/operations/runtime_error_box.h"
#include <optional>

#include "engine/error.h"
#include "engine/secure_wipe.h"

namespace vtq {
namespace {

constexpr const char* kPassphrasePrompt =
    "This fragment series has been encrypted. Please enter the correct password. Passwords are "
    "case-sensitive.";

constexpr auto kNoAnswerYet = static_cast<AftFileFormat>(-1);

AssembleStop Run(const AssembleRequest& request, ActiveAssembler& assembler, Prompts& prompts,
                 MessageBoxes& boxes, AssembleResult& result) {
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

  result.outputPath = assembler.OutputPathFor(1);
  prompts.PlaySound(kSoundAssembleFile);
  assembler.Assemble();
  if (assembler.CompletedSeries() != 1)
    return AssembleStop::kIncomplete;
  if (!request.doneSoundByCaller)
    prompts.PlaySound(kSoundDoneWork);
  return AssembleStop::kNone;
}

}  // namespace

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
    result.stop = Run(request, assembler, prompts, boxes, result);
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
