#pragma once
// The main window's side of the engine's events: the progress bars of the
// state model, the "VazeVezazu" next-disk boxes, and the offer to format a
// disk that has too little space left.

#include <cstdint>

#include "app/model/main_window_model.h"
#include "app/model/prompt.h"
#include "app/operations/assemble_operation.h"
#include "engine/splitter.h"

namespace vtq {

// What the events reach in the window.
class WindowEventSink {
 public:
  virtual ~WindowEventSink() = default;
  // A message box; the answer as an mb::kId value.
  virtual int Ask(const model::Prompt& prompt) = 0;
  // The model's progress changed: the bars are drawn again.
  virtual void ProgressChanged() = 0;
  // The system's format dialog for drive `drive` (A: = 0), owned by the
  // window, with this format identity and these options.
  virtual void FormatDrive(unsigned drive, unsigned formatId, unsigned options) = 0;
};

// The format identity the format dialog is opened with.
inline constexpr unsigned kFormatIdentity = 0;

inline constexpr const wchar_t* kNotEnoughSpaceText =
    L"There is not enough disk space on the destination drive. Would you like to format this "
    L"disk now?";

class WindowSplitterEvents final : public SplitterEvents {
 public:
  WindowSplitterEvents(model::MainWindowModel& model, WindowEventSink& sink, bool ntFamily)
      : model_(model), sink_(sink), ntFamily_(ntFamily) {}

  void SplitStart(int32_t pbMax) override;
  void SplitInterval(int32_t pbCurrent) override;
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  // OK opens the format dialog and has the space checked again, whatever
  // the dialog did; Cancel, the default (the disk in the drive may hold
  // the fragments written so far), stops the split.
  void NotEnoughDiskSpace(bool& cancel) override;

 private:
  model::MainWindowModel& model_;
  WindowEventSink& sink_;
  bool ntFamily_;
};

class WindowAssembleEvents final : public AssembleWatcher {
 public:
  WindowAssembleEvents(model::MainWindowModel& model, WindowEventSink& sink)
      : model_(model), sink_(sink) {}

  void AssembleStart(int16_t pbMax) override;
  void AssembleInterval(int16_t pbCurrent) override;
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  void RunEnded() override {}

 private:
  model::MainWindowModel& model_;
  WindowEventSink& sink_;
};

// The drive number of a folder's letter (A: = 0), either case; nullopt for
// a folder without a drive letter.
std::optional<unsigned> DriveNumberOf(std::wstring_view folder);

}  // namespace vtq
