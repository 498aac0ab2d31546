// The split run: one source file into its fragment series (or one fragment
// of it re-created). Offsets and lengths are 64-bit inside the run; the
// values the object model hands out keep their 32- and 16-bit types: the
// fragment count raises overflow beyond 16 bits, and the progress figures of
// a source of 2 GiB and more are given in larger units (see
// ChooseProgressUnit).

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/disk_space.h"
#include "engine/error.h"
#include "engine/fragment_copy.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/same_file.h"
#include "engine/split_guard.h"
#include "engine/splitter.h"
#include "engine/working_file.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kFreeSomeUp[] = "Please free some up on the destination drive and then try again";
extern const char kReduceSize[] = "Please reduce the fragment size or use a larger capacity disk";

namespace {

constexpr const char* kInsufficientTitle = "Insufficient disk space";
constexpr const char* kSourceInTheWayTitle = "Source would be overwritten";
constexpr const char* kNotInSeriesTitle = "Fragment regeneration";

// The progress figure (count - 1) * size + first of the run in 64 bits;
// the sizes are clamped to 100 MiB and the count to 16 bits, so it fits.
int64_t ProgressFigure(int64_t count, int64_t size, int64_t first) {
  return (count - 1) * size + first;
}

// The fewest halvings that bring `figure` into the 32-bit progress values:
// 0 for every source below 2 GiB (the figures stay the exact byte counts).
int ProgressShiftFor(int64_t figure) {
  int shift = 0;
  while ((figure >> shift) > INT32_MAX)
    ++shift;
  return shift;
}

}  // namespace

class ActiveSplitter::Run {
 public:
  Run(ActiveSplitter& splitter, const std::string& filename)
      : s_(splitter),
        filename_(filename),
        boxes_(splitter.globals_.GetPlatform().boxes),
        guard_(MakeSplitGuard(
            splitter.globals_.GetPlatform(), [this] { return ErrorFigures(); },
            [this] { CloseAll(); })) {}

  void Execute();

 private:
  // Runs one step under the trap; false when the routine must end now.
  bool Step(const std::function<void()>& step);
  void Stage(const char* label) { stage_ = label; }
  void CloseAll();
  void Refuse(const std::string& text, const char* title);

  bool CheckSeriesAgainstSource();
  // False when the run ends (disk refused, disk too small or full).
  bool FetchDisk(int16_t i);
  // False when the run ends. One fragment in named steps, each false when
  // the run ends.
  bool MakeFragment(int16_t i);
  bool StartFragment(int16_t i, const std::string& name);
  bool FillBuffer(int16_t i);
  bool FillFirstBuffer();
  bool WriteHeaderRecords();
  bool CutIfLast(int16_t i);
  bool EncipherBuffer();
  bool ReportInterval(int16_t i);
  bool AppendCheckDigits();
  bool DumpFragment(int16_t i, const std::string& name);
  bool CopiesAhead() const;
  // Copies this fragment ahead of its turn where it can, and finishes the
  // previous one; false when the run ends.
  bool BeginCopy(int16_t i);
  // Finishes the fragment copied ahead, if any, and reports it written;
  // false when the run ends.
  bool FinishCopyAhead();
  bool LetOthersRun();
  bool Regenerating() const { return s_.FragmentToRegenerate() > 0; }
  WorkingFile CreateFragment(const std::string& name, bool removable, int16_t i);
  void ReadData(int64_t offset, int64_t wanted, size_t at);
  void CutLastBuffer();
  // The progress figures in units of 2^progressShift_ bytes, chosen once
  // when the run starts, so that a source of 2 GiB and more still gives a
  // progress bar its ratio.
  void ChooseProgressUnit();
  int32_t Scaled(int64_t figure) const;
  int32_t StartValue();
  int32_t IntervalValue(int16_t i);
  int64_t PrefixLength() const { return static_cast<int64_t>(prefix_.size()); }

  SplitErrorFigures ErrorFigures() const;

  ActiveSplitter& s_;
  const std::string filename_;
  MessageBoxes& boxes_;
  const char* stage_ = "";
  bool cancel_ = false;
  int64_t sourceLength_ = 0;
  int16_t count_ = 0;
  int progressShift_ = 0;
  std::string stem_;
  std::string prefix_;
  std::vector<uint8_t> buffer_;
  // A fragment without cipher or check digits is not read into the buffer:
  // its source bytes, after what the buffer holds, are copied straight to
  // the fragment, inside the system where it can.
  bool direct_ = false;
  int64_t copyOffset_ = 0;
  uint64_t copyLength_ = 0;
  uint64_t headerBytes_ = 0;
  bool removable_ = false;
  File source_;
  WorkingFile fragment_;
  // One worker: the run's own thread copies every other fragment.
  WorkerThreads copier_{1};
  // A fragment copied ahead of its turn, until the run finishes it.
  std::unique_ptr<FragmentCopy> copiedAhead_;
  std::unique_ptr<SplitGuard> guard_;
};

void ActiveSplitter::SplitFile(const std::string& filename) {
  Run(*this, filename).Execute();
}

bool ActiveSplitter::Run::Step(const std::function<void()>& step) {
  return guard_->Run(step);
}

void ActiveSplitter::Run::CloseAll() {
  copiedAhead_.reset();
  fragment_ = WorkingFile();  // an unfinished fragment goes; the old one stays
  source_.Close();
}

void ActiveSplitter::Run::Refuse(const std::string& text, const char* title) {
  CloseAll();
  boxes_.Show(text, title, mb::kOk | mb::kIconCritical);
}

void ActiveSplitter::Run::Execute() {
  Stage("Initialization");
  const std::string& destination = s_.destination_;
  bool enough = true;
  if (!Step([&] { enough = s_.EnoughDiskSpace(destination, filename_, false); }))
    return;
  if (!enough)
    return Refuse(kFreeSomeUp, kInsufficientTitle);
  // Nothing may be written when a fragment would land on the source itself.
  bool clear = true;
  if (!Step([&] { clear = CheckSeriesAgainstSource(); }))
    return;
  if (!clear)
    return;
  if (!Step([&] { sourceLength_ = static_cast<int64_t>(FileLength(filename_)); }))
    return;

  Stage("Progress-bar initializer");
  if (!Step([&] {
        ChooseProgressUnit();
        s_.events_.SplitStart(StartValue());
      }))
    return;
  Stage("After progress-bar initialization");
  stem_ = StemOf(BaseName(filename_));

  if (!Step([&] { source_ = File(filename_, File::Mode::kRead); }))
    return;
  Stage("After initialization, just starting to split");
  if (!Step([&] { count_ = s_.FragsNeeded(filename_); }))
    return;

  const int16_t n = count_;
  for (int16_t i = 1; i <= n; ++i) {
    const int16_t regenerate = s_.FragmentToRegenerate();
    if (!MakeFragment(regenerate > 0 ? regenerate : i))
      return;
    if (regenerate > 0)
      break;
    if (i == INT16_MAX)
      break;
  }
  if (!FinishCopyAhead())
    return;

  source_.Close();
  Stage("Final progress bar updater");
  Step([&] { s_.events_.SplitInterval(StartValue()); });
}

bool ActiveSplitter::Run::CheckSeriesAgainstSource() {
  const int16_t n = s_.FragsNeeded(filename_);
  const int16_t regenerate = s_.FragmentToRegenerate();
  if (regenerate > n) {
    boxes_.Show("The series has " + std::to_string(n) + " fragments; fragment " +
                    std::to_string(regenerate) + " is not part of it and cannot be re-created.",
                kNotInSeriesTitle, mb::kOk | mb::kIconCritical);
    return false;
  }
  const std::string stem = StemOf(BaseName(filename_));
  const int16_t first = regenerate > 0 ? regenerate : int16_t{1};
  const int16_t last = regenerate > 0 ? regenerate : n;
  for (int32_t i = first; i <= last; ++i) {
    const std::string name = s_.destination_ + stem + FragmentNumber(i);
    if (SameFile(name, filename_)) {
      boxes_.Show("Fragment " + name +
                      " would replace the file being split. Please choose another destination "
                      "folder.",
                  kSourceInTheWayTitle, mb::kOk | mb::kIconCritical);
      return false;
    }
  }
  return true;
}

bool ActiveSplitter::Run::FetchDisk(int16_t i) {
  const std::string& destination = s_.destination_;
  if (!Step([&] { s_.events_.RequireNextDisk(i, cancel_); }))
    return false;
  if (cancel_) {
    CloseAll();
    return false;
  }
  bool fits = true;
  if (!Step([&] { fits = s_.EnoughDiskSpace(destination, filename_, true); }))
    return false;
  if (fits)
    return true;
  bool fitsFormatted = true;
  if (!Step([&] { fitsFormatted = s_.EnoughDiskSpace(destination, filename_, false); })) {
    return false;
  }
  if (!fitsFormatted) {
    Refuse(kReduceSize, kInsufficientTitle);
    return false;
  }
  // The loop asks again before its first round: the disk is measured anew
  // each time the container is told it is full.
  for (;;) {
    if (!Step([&] { fits = s_.EnoughDiskSpace(destination, filename_, true); }))
      return false;
    if (fits)
      return true;
    cancel_ = true;
    if (!Step([&] { s_.events_.NotEnoughDiskSpace(cancel_); }))
      return false;
    if (cancel_) {
      Refuse(kFreeSomeUp, kInsufficientTitle);
      return false;
    }
  }
}

void ActiveSplitter::Run::ReadData(int64_t offset, int64_t wanted, size_t at) {
  // The classic run fills a buffer of `wanted` bytes, which a negative
  // length refuses as an invalid argument.
  if (wanted < 0)
    Raise(err::kInvalidArgument);
  const int64_t available = std::clamp<int64_t>(sourceLength_ - offset, 0, wanted);
  if (direct_) {
    buffer_.resize(at);
    copyOffset_ = offset;
    copyLength_ = static_cast<uint64_t>(available);
    return;
  }
  // Room for the check digits too, so that appending them never reallocates.
  buffer_.reserve(at + static_cast<size_t>(wanted) + kCheckDigitCount);
  buffer_.resize(at + static_cast<size_t>(available));
  if (available == 0)
    return;
  source_.Seek(static_cast<uint64_t>(offset));
  // A source that shrank since it was measured is an error, never a short
  // fragment.
  source_.ReadExactly(buffer_.data() + at, static_cast<size_t>(available));
}

void ActiveSplitter::Run::CutLastBuffer() {
  // The count of the run's start, as the classic run keeps it: settings
  // changed by a handler since then show up here as an invalid argument.
  const int64_t n = count_;
  int64_t keep = 0;
  if (n >= 2) {
    keep = sourceLength_ - (s_.FirstDataSize() - PrefixLength()) - (n - 2) * s_.DataSize();
  } else {
    keep = sourceLength_ + (s_.format_ == aftQuorvelle ? 0 : PrefixLength());
  }
  if (keep < 0)
    Raise(err::kInvalidArgument);
  const auto kept = static_cast<uint64_t>(keep);
  if (kept < buffer_.size()) {
    buffer_.resize(static_cast<size_t>(kept));
    copyLength_ = 0;
  } else if (kept < buffer_.size() + copyLength_) {
    copyLength_ = kept - buffer_.size();
  }
}

void ActiveSplitter::Run::ChooseProgressUnit() {
  progressShift_ = ProgressShiftFor(ProgressFigure(int64_t{s_.FragsNeeded(filename_)} + 1,
                                                   s_.fragmentSize_, s_.firstFragmentSize_));
}

int32_t ActiveSplitter::Run::Scaled(int64_t figure) const {
  // A handler that grows the sizes mid-run can still push a figure past the
  // unit chosen at the start.
  const int64_t value = figure >> progressShift_;
  if (value > INT32_MAX || value < INT32_MIN)
    Raise(err::kOverflow);
  return static_cast<int32_t>(value);
}

int32_t ActiveSplitter::Run::StartValue() {
  return Scaled(ProgressFigure(int64_t{s_.FragsNeeded(filename_)} + 1, s_.fragmentSize_,
                               s_.firstFragmentSize_));
}

int32_t ActiveSplitter::Run::IntervalValue(int16_t i) {
  return Scaled(ProgressFigure(i, s_.fragmentSize_, s_.firstFragmentSize_));
}

// The fragment is written beside an older file of its name and replaces it
// only when whole, so a run that fails leaves the old fragment as it was. A
// removable disk may lack room for both: there it is replaced in place.
WorkingFile ActiveSplitter::Run::CreateFragment(const std::string& name, bool removable,
                                                int16_t i) {
  if (removable && FileExists(name)) {
    const int64_t nominal = i == 1 ? s_.firstFragmentSize_ : s_.fragmentSize_;
    const Currency free =
        DiskFreeSpace(s_.globals_.GetPlatform().drives, DriveRoot(s_.destination_));
    if (free < Currency::FromWhole(nominal))
      return WorkingFile::InPlace(name);
  }
  return WorkingFile(name);
}

bool ActiveSplitter::Run::MakeFragment(int16_t i) {
  const std::string name = s_.destination_ + stem_ + FragmentNumber(i);
  return StartFragment(i, name) && FillBuffer(i) && CutIfLast(i) && EncipherBuffer() &&
         BeginCopy(i) && ReportInterval(i) && AppendCheckDigits() && DumpFragment(i, name) &&
         LetOthersRun();
}

bool ActiveSplitter::Run::StartFragment(int16_t i, const std::string& name) {
  Stage("VazeVezazu extension");
  // Asked for every fragment, so that a CD-ROM's warning comes every time.
  if (!Step([&] { removable_ = s_.globals_.DiskRemovable(s_.destination_); }))
    return false;
  if (removable_ && i > 1 && !Regenerating() && !FetchDisk(i))
    return false;
  return Step([&] { fragment_ = CreateFragment(name, removable_, i); });
}

bool ActiveSplitter::Run::FillBuffer(int16_t i) {
  Stage("Buffer filler");
  if (!Step([&] { prefix_ = s_.HeaderText(filename_, false); }))
    return false;
  headerBytes_ = 0;
  direct_ = !s_.Encrypting() && s_.CheckDigitBytes() == 0;
  copyLength_ = 0;
  if (i == 1)
    return FillFirstBuffer();
  return Step([&] {
    const int64_t offset = (int64_t{i} - 2) * s_.DataSize() + s_.FirstDataSize() - PrefixLength();
    ReadData(offset, s_.DataSize(), 0);
  });
}

bool ActiveSplitter::Run::FillFirstBuffer() {
  const bool ownFormat = s_.format_ == aftQuorvelle;
  // The other formats carry the prefix inside the data.
  const size_t at = ownFormat ? 0 : prefix_.size();
  if (!Step([&] {
        ReadData(0, s_.FirstDataSize() - PrefixLength(), at);
        std::copy(prefix_.begin(), prefix_.begin() + static_cast<std::ptrdiff_t>(at),
                  buffer_.begin());
      })) {
    return false;
  }
  return !ownFormat || WriteHeaderRecords();
}

bool ActiveSplitter::Run::WriteHeaderRecords() {
  if (!Regenerating())
    Stage("Header creator");
  const auto writeRecord = [&](const std::string& record) {
    fragment_.Write(record.data(), record.size());
    headerBytes_ += record.size();
  };
  if (!Step([&] { writeRecord(s_.FormatRecordBytes()); }))
    return false;
  if (!Step([&] { writeRecord(s_.FileRecordBytes(filename_, false)); }))
    return false;
  return !s_.Encrypting() || Step([&] { writeRecord(s_.EncryptionRecordBytes()); });
}

bool ActiveSplitter::Run::CutIfLast(int16_t i) {
  bool last = false;
  if (!Step([&] { last = i == s_.FragsNeeded(filename_); }))
    return false;
  if (!last)
    return true;
  Stage("Final fragment buffer cutoff");
  return Step([&] { CutLastBuffer(); });
}

bool ActiveSplitter::Run::EncipherBuffer() {
  Stage("Encryption subsystem");
  return !s_.Encrypting() || Step([&] { s_.Encipher(buffer_); });
}

bool ActiveSplitter::Run::ReportInterval(int16_t i) {
  Stage("Progress bar updater");
  return Step([&] { s_.events_.SplitInterval(IntervalValue(i)); });
}

bool ActiveSplitter::Run::AppendCheckDigits() {
  Stage("Checkability subsystem");
  // A fragment already copied keeps the settings it began with.
  if (s_.CheckDigitBytes() == 0 || copiedAhead_)
    return true;
  Stage("Checkability subsystem / CRC calculation");
  std::string digits;
  if (!Step([&] { digits = s_.CheckDigitsFor(buffer_); }))
    return false;
  Stage("Checkability subsystem / Checksum transformer");
  return Step([&] { buffer_.insert(buffer_.end(), digits.begin(), digits.end()); });
}

bool ActiveSplitter::Run::DumpFragment(int16_t i, const std::string& name) {
  Stage("Fragment dumper");
  // One copied ahead is finished when the next one begins, or at the end.
  if (copiedAhead_)
    return true;
  return Step([&] {
    fragment_.Write(buffer_.data(), buffer_.size());
    if (copyLength_ > 0) {
      source_.Seek(static_cast<uint64_t>(copyOffset_));
      fragment_.CopyFrom(source_, copyLength_);
    }
    fragment_.Complete();
    s_.events_.FragmentWritten(i, name, headerBytes_ + buffer_.size() + copyLength_);
  });
}

// Only a fragment that is a plain range of the source, on a fixed disk: a
// removable one is finished before the next disk is asked for, and measured
// fragment by fragment.
bool ActiveSplitter::Run::CopiesAhead() const {
  return direct_ && copyLength_ > 0 && buffer_.empty() && headerBytes_ == 0 && !removable_ &&
         !Regenerating();
}

// The worker copies one fragment while this thread copies the next, so the
// run never waits idle while only one copy runs. The events keep their
// order: the previous fragment is reported written before this one's
// interval, and this one gets its name only after it, as when each fragment
// is copied in turn.
bool ActiveSplitter::Run::BeginCopy(int16_t i) {
  std::unique_ptr<FragmentCopy> next;
  if (CopiesAhead() && !Step([&] {
        const bool workerBusy = copiedAhead_ && copiedAhead_->OnAWorker();
        next = std::make_unique<FragmentCopy>(workerBusy ? nullptr : &copier_, std::move(fragment_),
                                              i, filename_, static_cast<uint64_t>(copyOffset_),
                                              copyLength_);
      })) {
    return false;
  }
  if (!FinishCopyAhead())
    return false;
  copiedAhead_ = std::move(next);
  return true;
}

bool ActiveSplitter::Run::FinishCopyAhead() {
  if (!copiedAhead_)
    return true;
  const bool goOn = Step([&] {
    copiedAhead_->Finish();
    s_.events_.FragmentWritten(copiedAhead_->Number(), copiedAhead_->Name(),
                               copiedAhead_->Length());
  });
  copiedAhead_.reset();
  return goOn;
}

bool ActiveSplitter::Run::LetOthersRun() {
  Stage("Multitasker");
  if (!Step([&] { s_.globals_.GetPlatform().loop.Yield(); }))
    return false;
  Stage("After 1st fragment splitted");
  return true;
}

SplitErrorFigures ActiveSplitter::Run::ErrorFigures() const {
  SplitErrorFigures figures;
  figures.fragmentSize = s_.fragmentSize_;
  figures.firstFragmentSize = s_.firstFragmentSize_;
  figures.encryption = s_.useEncryption_;
  figures.multisize = s_.multisize_;
  figures.regeneration = s_.regenerateFragment_ > 0;
  figures.cabinetIsMultifile = s_.cabIsMultifile_;
  figures.stage = stage_;
  const FileList& files = s_.FilesToSplit();
  // The size of the first file, as the split command's report gives it; a
  // file that has gone since reads 0 rather than failing the report itself.
  if (!files.Empty()) {
    try {
      figures.firstFileLength = FileLength(*files.begin());
    } catch (const VbError&) {
    }
  }
  return figures;
}

}  // namespace vtq
