// The main window's quick actions: the command line at load and a drop.
#include "app/model/command_line.h"
#include "app/model/main_window_model.h"
#include "app/model/shell_paths.h"
#include "base/path_parts.h"

namespace vtq::model {

// Texts kept as data in the program file instead of being folded into the
// code that copies them, so that they can be found there as written.
extern const wchar_t kQuickSplit[] = L"QuickSplit";
extern const wchar_t kQuickAssemble[] = L"QuickAssemble";

namespace {

Prompt SplitFolderQuestion() {
  return QuickQuestion(L"Would you like to split this folder right now using the current settings?",
                       std::wstring(kQuickSplit), QuickCommand::kSplit);
}

Prompt SplitFileQuestion() {
  return QuickQuestion(L"Would you like to split this file right now using the current settings?",
                       std::wstring(kQuickSplit), QuickCommand::kSplit);
}

Prompt AssembleQuestion() {
  return QuickQuestion(L"Would you like to assemble / extract this file right now?",
                       std::wstring(kQuickAssemble), QuickCommand::kAssemble);
}

}  // namespace

DropEffect DragOverEffect(const std::vector<std::wstring>& paths) {
  return paths.size() == 1 ? DropEffect::kCopy : DropEffect::kNone;
}

std::optional<Prompt> MainWindowModel::InterpretCommandLine(std::wstring_view commandLine) {
  const auto parsed =
      ParseCommandLine(commandLine, [this](std::wstring_view path) { return paths_.Exists(path); });
  if (!parsed)
    return std::nullopt;
  std::wstring path = parsed->path;
  if (parsed->verb == L"/assext") {
    state_.filesToAssemble.assign(1, path);
    state_.light3 = kLampGreen;
    state_.assembleDestination = base::FolderPart(path);
    state_.light4 = kLampGreen;
    return AssembleQuestion();
  }
  if (paths_.IsFolder(path)) {
    StripTrailingBackslash(path);
    ChooseSplitFolder(path);
    // A drive's root has no folder above it: the user chooses where to go
    // rather than the drive's current folder ("C:").
    state_.splitDestination = base::NamePart(path).empty() ? L"" : base::FolderPart(path);
    state_.light2 = kLampGreen;
    if (parsed->verb == L"/makecab") {
      return QuickQuestion(L"Would you like to make the CAB right now using the current settings?",
                           L"QuickCAB", QuickCommand::kMakeCab);
    }
    return SplitFolderQuestion();
  }
  ChooseSplitFile(path);
  const bool cabinet = LastThreeLowered(path) == L"cab";
  if (cabinet)
    SetCheck(Control::kUseCompression, false, false);
  state_.useCompression.enabled = !cabinet;
  state_.splitDestination = base::FolderPart(path);
  state_.light2 = kLampGreen;
  return SplitFileQuestion();
}

std::optional<Prompt> MainWindowModel::Drop(const std::vector<std::wstring>& paths) {
  if (DragOverEffect(paths) != DropEffect::kCopy)
    return std::nullopt;
  ClearOutcomes();
  std::wstring path = paths.front();
  if (paths_.IsFolder(path)) {
    StripTrailingBackslash(path);
    ChooseSplitFolder(std::move(path));
    state_.useCompression.enabled = true;
    if (state_.light2 == kLampGreen)
      return SplitFolderQuestion();
    return std::nullopt;
  }
  const std::wstring ending = LastThreeLowered(path);
  if (ending == L"001" || ending == L"cab") {
    state_.filesToAssemble.assign(1, std::move(path));
    state_.light3 = kLampGreen;
    if (state_.light4 == kLampGreen)
      return AssembleQuestion();
    return std::nullopt;
  }
  ChooseSplitFile(std::move(path));
  state_.useCompression.enabled = true;
  if (state_.light2 == kLampGreen)
    return SplitFileQuestion();
  return std::nullopt;
}

}  // namespace vtq::model
