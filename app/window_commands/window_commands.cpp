#include "app/window_commands/window_commands.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

#include "app/model/basic_numeric.h"
#include "app/operations/error_dialog.h"
#include "app/operations/fragment_sizes.h"
#include "app/operations/temporary_cabinet.h"
#include "app/window_commands/split_error_report.h"
#include "app/window_commands/window_recovery.h"
#include "base/path_parts.h"
#include "base/utf8_path.h"
#include "base/utf8_text.h"
#include "cabinet/cabinet_error.h"
#include "engine/disk_space.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"
#include "engine/working_file.h"

namespace vtq {

// The commands' messages, kept as data so that the program's texts can be
// found in it as written.
extern const char kSplitWhat[] = "Please select a file or folder to split first!";
extern const char kPasswordsDiffer[] = "The passwords do not match.";
extern const char kFilesOrDisksQuestion[] = " files/disks. Do you still want to proceed?";
extern const char kDisksQuestion[] = " disks. Do you still want to proceed?";
extern const char kNoInput[] = "Please select a file to split first!";
extern const char kNoSplitDestination[] = "Please select where to put the fragments first!";
extern const char kNoFragments[] = "Please select a fragment to assemble first!";
extern const char kNoAssembleDestination[] = "Please select where to put the finished file first!";
extern const char kNoDestinationFolder[] = "Please select a destination directory first.";
extern const char kOnlyFolders[] =
    "Sorry, you can only make CABs from folders - use the 'select folder to split' button to "
    "select a folder.";
extern const char kNoCabDestination[] =
    "Please select where to place the CAB! Use the 'select fragment destination' button to do "
    "this.";

namespace {

using model::kLampDarkRed;
using model::kLampGreen;

constexpr const char* kNotEnoughInformation = "Not enough information.";
constexpr const char* kLongNamesTitle = "Unable to support long filenames for selected features";

constexpr const char* kUnableToCreateCab = "Unable to create CAB";
constexpr const char* kUnableToCompress = "Unable to compress";
constexpr const char* kUnableToExtract = "Unable to extract";

constexpr std::array<std::wstring_view, 11> kAlreadyCompressed = {
    L"cab", L"zip", L"mp3", L"mpg", L"ace", L"rar", L"lha", L"lzh", L"arc", L"jpg", L"zoo"};

MessageBoxes& Boxes(WindowCommandContext& context) {
  return context.globals.GetPlatform().boxes;
}

void Refuse(MessageBoxes& boxes, const std::string& text, const char* title = "") {
  boxes.Show(text, title, mb::kOk | mb::kIconCritical);
}

// The window takes no input from here until the command ends, whichever
// way it ends.
class InputLock {
 public:
  explicit InputLock(CommandWindow& window) : window_(window) { window_.EnableInput(false); }
  ~InputLock() { window_.EnableInput(true); }
  InputLock(const InputLock&) = delete;
  InputLock& operator=(const InputLock&) = delete;

 private:
  CommandWindow& window_;
};

enum class StepEnd { kGoOn, kStop };

// An error a command reports in its own words instead of the error dialog
// (error 5 of a split); true when it did, which ends the command.
using OwnReport = std::function<bool(const VbError&)>;

void ShowCancelled(MessageBoxes& boxes) {
  boxes.Show("Operation cancelled!", "Cancelled", mb::kOk | mb::kIconInformation);
}

// One cabinet step of a command under the command's error handling: the
// component's failure has its own message and ends the command, and so does
// Cancel in the packing window; any other error goes to the error dialog,
// whose answer retries the step, goes on with the next, or ends the command
// or the program.
template <typename FailureText, typename Step>
StepEnd RunCabinetStep(WindowCommandContext& context, const char* failureTitle,
                       FailureText&& failureText, Step&& step, const OwnReport& ownReport = {}) {
  MessageBoxes& boxes = Boxes(context);
  for (;;) {
    try {
      step();
      return StepEnd::kGoOn;
    } catch (const PackingCancelled&) {
      ShowCancelled(boxes);
      return StepEnd::kStop;
    } catch (const VbError& error) {
      if (error.Number() == cabinet::kCabinetFailure) {
        boxes.Show(failureText(error.Description()), failureTitle, mb::kOk | mb::kIconExclamation);
        return StepEnd::kStop;
      }
      if (ownReport && ownReport(error))
        return StepEnd::kStop;
      switch (ShowErrorDialog(error, boxes)) {
        case TrapAction::kRetry:
          continue;
        case TrapAction::kSkip:
          return StepEnd::kGoOn;
        case TrapAction::kEndProgram:
          context.window.EndProgram();
          return StepEnd::kStop;
        case TrapAction::kEndRoutine:
          return StepEnd::kStop;
      }
      return StepEnd::kStop;
    }
  }
}

using CompressFailureText = std::string (*)(const std::string&, const PackedEntry&);

// Packs a cabinet under the packing window; the window's Cancel stops it.
// The component writes under a working name, which becomes the cabinet's
// only once it is complete: a cancelled or failed run leaves an older
// cabinet of that name as it was. False when a step ended the command.
bool PackCabinet(const PackRequest& request, CompressFailureText failureText,
                 WindowCommandContext& context, const OwnReport& ownReport = {}) {
  const auto step = [&](auto&& work) {
    return RunCabinetStep(
        context, kUnableToCompress,
        [&](const std::string& description) {
          return failureText(description, context.packer.FirstEntry());
        },
        work, ownReport);
  };
  const std::string cabinet = base::ToUtf8(request.cabinet);
  PackRequest packing = request;
  std::optional<WorkingFile> working;
  // Without its folder the component says so in its own words.
  const std::string folder = FolderPart(cabinet);
  if (FolderExists(folder) && step([&] {
                                working.emplace(cabinet);
                                working->Close();
                                packing.cabinet = base::FromUtf8(working->Name());
                              }) == StepEnd::kStop) {
    return false;
  }
  const ShownPackingView shown(context.packingView,
                               request.compress ? kCaptionCompressing : kCaptionCombining);
  context.packingView.OfferCancel();
  context.prompts.PlaySound(kSoundCompress);
  const PackProgress progress = [&](int16_t percent) {
    context.packingView.SetProgress(percent);
    if (context.packingView.CancelRequested())
      throw PackingCancelled();
  };
  bool packed = false;
  if (step([&] {
        context.packer.Pack(packing, progress);
        packed = true;
      }) == StepEnd::kStop) {
    return false;
  }
  // A failure the error dialog let pass leaves the older cabinet too.
  if (!packed || !working)
    return true;
  return step([&] { working->Complete(); }) == StepEnd::kGoOn;
}

// A folder is always packed before its split, compressed only when asked;
// a file only when compression is asked. The cabinet goes near the
// temporary folder and is what the splitter splits.
bool PacksBeforeSplit(const model::MainWindowState& s) {
  return s.folderIndicator == kLampGreen || s.useCompression.checked;
}

PackRequest PackingBeforeSplit(const model::MainWindowState& s, const std::string& place) {
  PackRequest request;
  if (s.folderIndicator == kLampGreen) {
    request.compress = s.useCompression.checked;
    request.folders.push_back(s.folderToSplit);
    request.cabinet = base::FromUtf8(FolderCabinetName(place, base::ToUtf8(s.folderToSplit)));
  } else {
    request.files.push_back(s.fileToSplit);
    request.cabinet = base::FromUtf8(FileCabinetName(place, base::ToUtf8(s.fileToSplit)));
  }
  return request;
}

template <typename Step>
StepEnd RunExtractStep(WindowCommandContext& context, Step&& step) {
  return RunCabinetStep(
      context, kUnableToExtract,
      [&](const std::string& description) {
        CabinetUnpacker& unpacker = context.unpacker;
        return ExtractFailureText(description, unpacker.Cabinet(), unpacker.FirstEntryName());
      },
      step);
}

// The folder may be there already; the extraction creates what is missing.
void CreateFolderIgnoringErrors(const std::wstring& folder) {
  std::error_code ignored;
  std::filesystem::create_directory(base::PathFromUtf8(base::ToUtf8(folder)), ignored);
}

// The destination as the window holds it ends with a separator; the
// component takes folders without one.
std::wstring WithoutTrailingSeparator(const std::wstring& folder) {
  if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
    return folder.substr(0, folder.size() - 1);
  return folder;
}

// A cabinet picked instead of fragments goes into a folder of the
// destination named after it without its last four characters.
std::wstring PickedCabinetFolder(const std::wstring& cabinet, const std::wstring& destination) {
  const std::wstring name = base::NamePart(cabinet);
  return destination + std::wstring(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
}

// The picked cabinet stays where it is. False when a step ended the command.
bool ExtractPickedCabinet(const std::wstring& cabinet, const std::wstring& destination,
                          WindowCommandContext& context) {
  const std::wstring folder = PickedCabinetFolder(cabinet, destination);
  if (RunExtractStep(context, [&] { context.unpacker.Open(cabinet); }) == StepEnd::kStop)
    return false;
  CreateFolderIgnoringErrors(folder);
  const ShownPackingView shown(context.packingView, kCaptionExtracting);
  context.prompts.PlaySound(kSoundExtract);
  const PackProgress progress = [&](int16_t percent) { context.packingView.SetProgress(percent); };
  return RunExtractStep(context, [&] { context.unpacker.Extract(folder, progress); }) ==
         StepEnd::kGoOn;
}

// An assembled cabinet is unpacked where it was assembled, into a folder
// named after it up to its first dot when it holds more than one entry, and
// then deleted. The folder it went into, or nullopt when a step ended the
// command (the cabinet stays).
std::optional<std::wstring> ExtractAssembledCabinet(const std::wstring& cabinet,
                                                    const std::wstring& destination,
                                                    WindowCommandContext& context) {
  CabinetUnpacker& unpacker = context.unpacker;
  if (RunExtractStep(context, [&] { unpacker.Open(cabinet); }) == StepEnd::kStop)
    return std::nullopt;
  const ShownPackingView shown(context.packingView, kCaptionExtracting);
  int32_t entries = 0;
  if (RunExtractStep(context, [&] { entries = unpacker.EntryCount(); }) == StepEnd::kStop)
    return std::nullopt;
  std::wstring folder = WithoutTrailingSeparator(destination);
  if (entries > 1) {
    const std::wstring name = base::NamePart(cabinet);
    folder = destination + std::wstring(name.substr(0, name.find(L'.')));
    CreateFolderIgnoringErrors(folder);
  }
  context.prompts.PlaySound(kSoundExtract);
  const PackProgress progress = [&](int16_t percent) { context.packingView.SetProgress(percent); };
  if (RunExtractStep(context, [&] { unpacker.Extract(folder, progress); }) == StepEnd::kStop)
    return std::nullopt;
  const std::string assembled = base::ToUtf8(cabinet);
  if (RunExtractStep(context, [&] { RemoveFile(assembled); }) == StepEnd::kStop)
    return std::nullopt;
  return folder;
}

bool AlreadyCompressed(std::wstring_view path) {
  const std::wstring ending = model::LastThreeLowered(path);
  for (std::wstring_view known : kAlreadyCompressed) {
    if (ending == known)
      return true;
  }
  return false;
}

// The input checks made while the window still takes input; false ends
// the command.
bool InputReady(const model::MainWindowState& s, WindowCommandContext& context) {
  MessageBoxes& boxes = Boxes(context);
  // The splitter's list takes the file first; the engine says when it
  // cannot find it. A file chosen before a folder is not the input then.
  FileList& files = context.splitter.Splitter().FilesToSplit();
  files.Clear();
  if (s.fileIndicator == kLampGreen && !s.fileToSplit.empty())
    files.Add(base::ToUtf8(s.fileToSplit));
  if (!context.paths.IsFolder(s.splitDestination)) {
    boxes.Show("Destination directory doesn't exist - please check this", "", mb::kOk);
    return false;
  }
  if (s.fileIndicator == kLampGreen) {
    if (files.Empty()) {
      boxes.Show("File to split doesn't exist - please check this", "", mb::kOk);
      return false;
    }
    if (!context.paths.Exists(base::FromUtf8(files.Item(1)))) {
      boxes.Show("File to split no longer exists - please check this", "", mb::kOk);
      return false;
    }
    if (s.useCompression.checked && AlreadyCompressed(s.fileToSplit)) {
      const int answer = boxes.Show(
          "You have enabled automatic compression and have selected a file that is probably "
          "already compressed. If that is the case, it is unlikely that Vantrelloquin's "
          "compression will be able to make the file much smaller and will take much longer to "
          "split the file. Are you sure you wish to proceed with compression?",
          "Sure to enable compression?", mb::kYesNo | mb::kIconExclamation);
      return answer == mb::kIdYes;
    }
    return true;
  }
  if (s.folderIndicator == kLampGreen) {
    if (!context.paths.IsFolder(s.folderToSplit)) {
      boxes.Show("Folder to split no longer exists - please check this", "", mb::kOk);
      return false;
    }
    return true;
  }
  Refuse(boxes, kSplitWhat, "Split what?");
  return false;
}

// The long-name rules of BAT generation with compression: a refusal, or
// for a folder the warning the user may cancel. False ends the command.
bool NamesFitBatchFile(const model::MainWindowState& s, MessageBoxes& boxes) {
  if (!s.saveBat.checked || !s.useCompression.checked)
    return true;
  if (const auto problem = LongNameProblem(s)) {
    Refuse(boxes, *problem, kLongNamesTitle);
    return false;
  }
  if (s.folderIndicator != kLampGreen)
    return true;
  return boxes.Show(
             "Although it is possible to use the selected features simultaneously, there will be "
             "no long filename support. If you know that the folder you have chosen to split "
             "contains long filenames (names greater than 8 characters, a dot and 3 more "
             "letters) you should click 'Cancel' now.",
             "Warning: No LFN support with selected features",
             mb::kOkCancel | mb::kIconExclamation) == mb::kIdOk;
}

// The passphrase typed again must match the box's, exactly.
bool PassphraseConfirmed(const model::MainWindowState& s, WindowCommandContext& context) {
  if (!s.useEnc.checked)
    return true;
  std::optional<std::string> typed =
      AskPassphrase(context.prompts, model::PassphraseMode::kConfirm);
  // A cancelled dialog ends the command without a word.
  if (!typed)
    return false;
  std::string expected = base::ToUtf8(s.passphrase.text);
  const bool same = *typed == expected;
  SecureWipe(typed);
  SecureWipe(expected);
  if (!same)
    Refuse(Boxes(context), kPasswordsDiffer, "Please try again");
  return same;
}

// A folder as the outcome names it, without its trailing separator.
std::wstring Shown(const std::string& folder) {
  return WithoutTrailingSeparator(base::FromUtf8(folder));
}

std::wstring SplitOutcome(const SplitResult& result, int32_t regenerate) {
  if (regenerate > 0) {
    return L"Fragment " + std::to_wstring(regenerate) + L" written again in " +
           Shown(result.destination);
  }
  if (!result.Complete()) {
    return L"Split stopped: " + std::to_wstring(result.written) + L" of " +
           std::to_wstring(result.expected) + L" fragments in " + Shown(result.destination);
  }
  return L"Split: " + std::to_wstring(result.written) + L" fragments in " +
         Shown(result.destination);
}

std::wstring AssembleOutcome(const AssembleResult& result) {
  const std::wstring file = base::FromUtf8(result.outputPath);
  if (result.checksum == ChecksumVerdict::kMatches)
    return L"Assembled: " + file + L" (SHA-256 checked)";
  return L"Assembled: " + file;
}

// The checksum file beside a series speaks of the assembled file: a
// mismatch is a damaged result, and an unreadable one checked nothing.
void TellChecksumVerdict(const AssembleResult& result, MessageBoxes& boxes) {
  if (result.checksum == ChecksumVerdict::kDiffers) {
    boxes.Show("The assembled file " + result.outputPath +
                   " does not match the SHA-256 digest of the source in " + result.checksumFile +
                   ": it is damaged, or the fragments are not those the checksum file was written "
                   "for.",
               "Assembled file damaged", mb::kOk | mb::kIconCritical);
  } else if (result.checksum == ChecksumVerdict::kUnreadable) {
    boxes.Show(result.checksumFile +
                   " lies beside the fragments but is not a checksum file that can be read, so "
                   "the assembled file " +
                   result.outputPath + " was not checked.",
               "Checksum file unreadable", mb::kOk | mb::kIconExclamation);
  }
}

std::string SeriesQuestion(int16_t fragments, bool disksWithBatchFile) {
  const std::string n = std::to_string(fragments);
  if (disksWithBatchFile) {
    return "This will take up " + n + " to " + std::to_string(fragments + 1) + kDisksQuestion;
  }
  return "This will take up " + n + kFilesOrDisksQuestion;
}

// How a split that stopped is told. The error dialog has answered the
// errors of the command's steps where they arose; what reaches here ended
// it. Error 5 gets the split's own report instead, which ends the command.
void ReportSplitStop(const SplitResult& result, const model::MainWindowState& state,
                     WindowCommandContext& context) {
  MessageBoxes& boxes = Boxes(context);
  switch (result.stop) {
    case SplitStop::kNoSuchFragment:
      Refuse(boxes, FragmentOutOfRangeText(result.fragmentsInSeries), kFragmentOutOfRangeTitle);
      break;
    case SplitStop::kBatchNameUnsafe:
      Refuse(boxes, result.problem);
      break;
    case SplitStop::kBatchWouldReplaceSource:
      Refuse(boxes,
             "The batch file " + result.batchFile +
                 " would replace the file being split. Please choose another destination folder.",
             "Source would be overwritten");
      break;
    case SplitStop::kSideFileIsSource:
    case SplitStop::kSideFileInTheWay:
      Refuse(boxes, result.problem, "Source would be overwritten");
      break;
    case SplitStop::kEngineError:
      if (result.errorNumber == err::kInvalidArgument) {
        ShowSplitErrorReport(state, result.splitterAtError, boxes);
        break;
      }
      if (ShowErrorDialog(VbError(result.errorNumber, {}, result.errorDescription), boxes) ==
          TrapAction::kEndProgram) {
        context.window.EndProgram();
      }
      break;
    case SplitStop::kEndedAfterError:
      context.window.EndProgram();
      break;
    case SplitStop::kEndedByErrorDialog:
    case SplitStop::kReplaceDeclined:
      // The dialog's answer, or the user's No, ended it.
      break;
    default:
      // The engine has said why, or the user chose to stop, or all went well.
      break;
  }
}

}  // namespace

std::optional<std::string> AskPassphrase(Prompts& prompts, model::PassphraseMode mode) {
  const model::PassphraseDialogText text = model::PassphraseDialogFor(mode);
  return prompts.AskPassphrase(base::ToUtf8(text.title), base::ToUtf8(text.prompt));
}

std::optional<std::string> LongNameProblem(const model::MainWindowState& s) {
  if (s.folderIndicator == kLampGreen) {
    if (base::NamePart(s.folderToSplit).size() <= 8)
      return std::nullopt;
    return "When BAT Generation and compression are both used simultaneously, you cannot use long "
           "filenames. The selected folder (and any subfolders) cannot be more than 8 characters "
           "and any contained files must be no more than 8 letters, a dot and 3 more letters.";
  }
  // A name without a dot is measured whole as its extension.
  const std::wstring name = base::NamePart(s.fileToSplit);
  const size_t dot = name.find(L'.');
  const size_t stem = dot == std::wstring_view::npos ? 0 : dot;
  const size_t extension = dot == std::wstring_view::npos ? name.size() : name.size() - dot - 1;
  if (stem <= 8 && extension <= 3)
    return std::nullopt;
  return "When BAT Generation and compression are both used simultaneously, you cannot use long "
         "filenames. The file must only consist of up to 8 letters, a dot and 3 more letters.";
}

void FillSplitRequest(const model::MainWindowState& s, int32_t regenerate, SplitRequest& request) {
  request.source = base::ToUtf8(s.fileToSplit);
  request.destination = base::ToUtf8(s.splitDestination);
  request.regenerate = regenerate;
  if (s.useEnc.checked)
    request.passphrase = base::ToUtf8(s.passphrase.text);
  request.fragmentSize = model::SizeInForce(s);
  const bool fromFreeSpace =
      s.sizeMode == model::SizeMode::kAutofill && model::CountsDown(s.fOverrideUnits.position);
  if (s.firstOverride.checked && !fromFreeSpace)
    request.firstSize = model::FirstFragmentBytes(s);
  request.format = s.saveBat.checked ? aftRaw : aftQuorvelle;
  request.checkDigits = request.format == aftQuorvelle;
  request.writeBatchFile = s.saveBat.checked;
}

void Split(const model::MainWindowState& s, WindowCommandContext& context) {
  if (!InputReady(s, context))
    return;
  MessageBoxes& boxes = Boxes(context);
  const InputLock lock(context.window);
  const std::optional<int32_t> regenerate = FragmentToRegenerate(s);
  if (!regenerate) {
    Refuse(boxes, kInvalidFragmentText, kInvalidFragmentTitle);
    return;
  }
  if (s.light1 == kLampDarkRed) {
    Refuse(boxes, kNoInput, kNotEnoughInformation);
    return;
  }
  if (s.light2 == kLampDarkRed) {
    Refuse(boxes, kNoSplitDestination, kNotEnoughInformation);
    return;
  }
  // Recovery files go with a whole series only.
  std::optional<double> recoveryPercent;
  if (RecoveryWanted(s) && *regenerate == 0) {
    recoveryPercent = RecoveryPercent(s);
    if (!recoveryPercent) {
      Refuse(boxes, kBadRecoveryPercent, kBadRecoveryPercentTitle);
      return;
    }
  }
  if (!NamesFitBatchFile(s, boxes) || !PassphraseConfirmed(s, context))
    return;
  std::optional<TemporaryCabinet> cabinet;
  if (PacksBeforeSplit(s)) {
    const PackRequest packing = PackingBeforeSplit(s, context.splitCabinetFolder());
    cabinet.emplace(base::ToUtf8(packing.cabinet));
    // Error 5 while packing has the split's report, with the splitter as
    // it stands: its list holds the file to split, or nothing for a folder.
    const OwnReport error5 = [&](const VbError& error) {
      if (error.Number() != err::kInvalidArgument)
        return false;
      ShowSplitErrorReport(s, SplitterFiguresOf(context.splitter.Splitter()), boxes);
      return true;
    };
    if (!PackCabinet(packing, PackBeforeSplitFailureText, context, error5))
      return;
  }

  SplitRequest request;
  FillSplitRequest(s, *regenerate, request);
  if (cabinet)
    request.source = cabinet->Name();
  request.cabinetIsMultifile = s.folderIndicator == kLampGreen;
  request.writeRecovery = recoveryPercent.has_value();
  ErrorDialogAdvisor errorDialog(boxes);
  request.commandErrors = &errorDialog;
  // On a removable disk the first fragment fills what the disk has free.
  const std::string drive = request.destination.substr(0, 2);
  const bool removable = context.globals.DiskRemovable(drive);
  if (removable) {
    request.freeSpaceAtStart = [&] {
      const int64_t free =
          DiskFreeSpace(context.globals.GetPlatform().drives, DriveRoot(drive)).Whole();
      // In Fill space, "kb smaller" counts down from what the disk has free.
      const bool countsDown = s.firstOverride.checked && s.sizeMode == model::SizeMode::kAutofill &&
                              model::CountsDown(s.fOverrideUnits.position);
      return countsDown ? model::FirstFragmentBytes(s, free) : free;
    };
  }
  request.confirm = [&](int16_t fragments) {
    if (*regenerate != 0)
      return true;
    const int answer = boxes.Show(SeriesQuestion(fragments, s.saveBat.checked && removable),
                                  "Are you sure?", mb::kOkCancel | mb::kIconQuestion);
    if (answer == mb::kIdOk)
      return true;
    ShowCancelled(boxes);
    return false;
  };
  const SplitResult result =
      RunSplitCommand(request, context.splitter, context.splitterEvents, context.prompts);
  // The error-5 report shows the progress where the error stopped it.
  const bool error5 =
      result.stop == SplitStop::kEngineError && result.errorNumber == err::kInvalidArgument;
  if (result.stop == SplitStop::kNone || result.stop == SplitStop::kBatchFileNotGenerated ||
      result.stop == SplitStop::kEndedByErrorDialog ||
      (result.stop == SplitStop::kEngineError && !error5)) {
    context.window.ResetProgress(model::Control::kProgressBar1);
  }
  if (result.stop == SplitStop::kNone) {
    std::wstring outcome = SplitOutcome(result, *regenerate);
    if (recoveryPercent && result.Complete())
      outcome += WriteRecoveryAfterSplit(result, *recoveryPercent, context.window, boxes);
    context.window.ShowOutcome(model::Control::kProgressBar1, outcome);
  }
  ReportSplitStop(result, s, context);
}

void Assemble(const model::MainWindowState& s, WindowCommandContext& context) {
  MessageBoxes& boxes = Boxes(context);
  if (s.light3 == kLampDarkRed || s.filesToAssemble.empty()) {
    Refuse(boxes, kNoFragments, kNotEnoughInformation);
    return;
  }
  if (s.light4 == kLampDarkRed) {
    Refuse(boxes, kNoAssembleDestination, kNotEnoughInformation);
    return;
  }
  if (s.assembleDestination.empty()) {
    Refuse(boxes, kNoDestinationFolder, "Destination directory not selected");
    return;
  }
  const InputLock lock(context.window);
  const std::wstring first = s.filesToAssemble.front();
  const std::wstring destination = s.assembleDestination;
  if (model::LastThreeLowered(first) == L"cab") {
    // The bar is not touched unless a failure ends the command.
    if (!ExtractPickedCabinet(first, destination, context)) {
      context.window.ResetProgress(model::Control::kProgressBar2);
      return;
    }
    context.window.ShowOutcome(model::Control::kProgressBar2,
                               L"Extracted into " + PickedCabinetFolder(first, destination));
    return;
  }
  AssembleRequest request;
  request.firstFragment = base::ToUtf8(first);
  request.destination = base::ToUtf8(destination);
  request.doneSoundByCaller = true;
  ErrorDialogAdvisor errorDialog(boxes);
  request.commandErrors = &errorDialog;
  // Fragments the recovery files find missing or cut are offered to be
  // rebuilt first, as the console does.
  bool repaired = false;
  RepairBeforeAssembling look;
  if (!RepairBeforeAssembly(request.firstFragment, context.globals, context.window, boxes, repaired,
                            look)) {
    return;
  }
  const AssembleResult result =
      RunAssembleCommand(request, context.assembler, context.assembleWatcher, context.prompts);
  if (result.stop == AssembleStop::kEndedAfterError) {
    context.window.EndProgram();
    return;
  }
  const std::wstring assembled = base::FromUtf8(result.outputPath);
  const bool whole = result.stop == AssembleStop::kNone;
  const bool cabinetResult = whole && model::LastThreeLowered(assembled) == L"cab";
  std::optional<std::wstring> extractedInto;
  // A run that ended early inside the engine has said why; the command
  // goes on to its end, with nothing to extract.
  bool finished = whole || result.stop == AssembleStop::kIncomplete;
  if (cabinetResult) {
    extractedInto = ExtractAssembledCabinet(assembled, destination, context);
    finished = extractedInto.has_value();
  }
  if (whole && !cabinetResult)
    TellChecksumVerdict(result, boxes);
  if (whole && AssemblyInDoubt(look, repaired, result.checksum == ChecksumVerdict::kMatches)) {
    boxes.Show(result.outputPath +
                   " was assembled without rebuilding the fragments the recovery files find "
                   "missing or cut, and may not be the source.",
               "Assembled without repair", mb::kOk | mb::kIconExclamation);
  }
  if (finished)
    context.prompts.PlaySound(kSoundDoneWork);
  if (whole || result.stop == AssembleStop::kIncomplete ||
      result.stop == AssembleStop::kEngineError ||
      result.stop == AssembleStop::kEndedByErrorDialog ||
      result.stop == AssembleStop::kReplaceDeclined) {
    context.window.ResetProgress(model::Control::kProgressBar2);
  }
  if (extractedInto)
    context.window.ShowOutcome(model::Control::kProgressBar2, L"Extracted into " + *extractedInto);
  else if (whole)
    context.window.ShowOutcome(model::Control::kProgressBar2, AssembleOutcome(result));
}

void Verify(const model::MainWindowState& s, WindowCommandContext& context) {
  MessageBoxes& boxes = Boxes(context);
  if (s.light3 == kLampDarkRed || s.filesToAssemble.empty()) {
    Refuse(boxes, "Please select the first fragment of a series to verify first!",
           kNotEnoughInformation);
    return;
  }
  const std::wstring first = s.filesToAssemble.front();
  if (model::LastThreeLowered(first) == L"cab") {
    Refuse(boxes, "Verify checks a series of fragments; a cabinet is checked as it is extracted.",
           kVerifyTitle);
    return;
  }
  const InputLock lock(context.window);
  VerifyRequest request;
  request.firstFragment = base::ToUtf8(first);
  const VerifyBox box = VerifyBoxFor(VerifySeriesAndRecovery(request, context.globals));
  boxes.Show(box.text, kVerifyTitle,
             mb::kOk | (box.sound ? mb::kIconInformation : mb::kIconExclamation));
}

std::wstring MadeCabinetName(const model::MainWindowState& s) {
  return base::FromUtf8(
      FolderCabinetName(base::ToUtf8(s.splitDestination), base::ToUtf8(s.folderToSplit)));
}

void MakeCab(const model::MainWindowState& s, WindowCommandContext& context) {
  MessageBoxes& boxes = Boxes(context);
  if (s.folderIndicator == kLampDarkRed) {
    Refuse(boxes, kOnlyFolders, kUnableToCreateCab);
    return;
  }
  if (s.light2 == kLampDarkRed) {
    Refuse(boxes, kNoCabDestination, kUnableToCreateCab);
    return;
  }
  const InputLock lock(context.window);
  PackRequest request;
  request.cabinet = MadeCabinetName(s);
  request.compress = s.useCompression.checked;
  request.folders.push_back(s.folderToSplit);
  if (!PackCabinet(request, MakeCabFailureText, context))
    return;
  context.prompts.PlaySound(kSoundDoneWork);
  context.window.ShowOutcome(model::Control::kProgressBar1, L"CAB made: " + request.cabinet);
}

}  // namespace vtq
