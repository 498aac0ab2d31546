#include "app/window_commands/window_events.h"

#include "app/model/disk_prompts.h"

namespace vtq {

std::optional<unsigned> DriveNumberOf(std::wstring_view folder) {
  if (folder.size() < 2 || folder[1] != L':')
    return std::nullopt;
  const wchar_t letter = folder[0];
  if (letter >= L'A' && letter <= L'Z')
    return static_cast<unsigned>(letter - L'A');
  if (letter >= L'a' && letter <= L'z')
    return static_cast<unsigned>(letter - L'a');
  return std::nullopt;
}

void WindowSplitterEvents::SplitStart(int32_t pbMax) {
  model_.SplitStart(pbMax);
  sink_.ProgressChanged();
}

void WindowSplitterEvents::SplitInterval(int32_t pbCurrent) {
  model_.SplitInterval(pbCurrent);
  sink_.ProgressChanged();
}

void WindowSplitterEvents::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  cancel = model::CancelledBy(sink_.Ask(model::SplitterDiskPrompt(diskNumber)));
}

void WindowSplitterEvents::NotEnoughDiskSpace(bool& cancel) {
  const model::Prompt question{kNotEnoughSpaceText, L"Not enough disk space",
                               mb::kOkCancel | mb::kIconExclamation | mb::kDefaultButton2,
                               std::nullopt, model::QuickCommand::kNone};
  if (sink_.Ask(question) != mb::kIdOk) {
    cancel = true;
    return;
  }
  // Only a destination with a drive letter can be formatted; without one
  // the space is simply checked again.
  if (const auto drive = DriveNumberOf(model_.State().splitDestination))
    sink_.FormatDrive(*drive, kFormatIdentity, ntFamily_ ? 1u : 0u);
  cancel = false;
}

void WindowAssembleEvents::AssembleStart(int16_t pbMax) {
  model_.AssembleStart(pbMax);
  sink_.ProgressChanged();
}

void WindowAssembleEvents::AssembleInterval(int16_t pbCurrent) {
  model_.AssembleInterval(pbCurrent);
  sink_.ProgressChanged();
}

void WindowAssembleEvents::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  cancel = model::CancelledBy(sink_.Ask(model::AssemblerDiskPrompt(diskNumber)));
}

}  // namespace vtq
