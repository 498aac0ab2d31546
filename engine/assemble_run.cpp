// One series' run: read each fragment whole, strip what the format added,
// verify and decipher where the header asks for it, append to the output.

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "engine/assembled_name.h"
#include "engine/assembler.h"
#include "engine/assembly_output.h"
#include "engine/error.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"

namespace vtq {

namespace {

// One fragment at a time, in one piece; grown when a fragment is larger than
// any before it, never copied.
class FragmentBuffer {
 public:
  std::span<uint8_t> Fill(File& file, uint64_t length) {
    const size_t size = Reserve(length);
    file.ReadExactly(bytes_.get(), size);
    return {bytes_.get(), size};
  }

 private:
  size_t Reserve(uint64_t length) {
    if (length > SIZE_MAX)
      Raise(err::kOutOfMemory);
    const auto size = static_cast<size_t>(length);
    if (size > capacity_) {
      bytes_.reset();
      capacity_ = 0;
      try {
        bytes_ = std::make_unique_for_overwrite<uint8_t[]>(size);
      } catch (const std::bad_alloc&) {
        Raise(err::kOutOfMemory);
      }
      capacity_ = size;
    }
    return size;
  }

  std::unique_ptr<uint8_t[]> bytes_;
  size_t capacity_ = 0;
};

std::span<uint8_t> DropFront(std::span<uint8_t> data, size_t count) {
  return data.subspan(std::min(count, data.size()));
}

std::span<uint8_t> DropBack(std::span<uint8_t> data, size_t count) {
  return data.first(data.size() - std::min(count, data.size()));
}

}  // namespace

bool ActiveAssembler::ListDiskRemovable(const std::string& firstFragment) {
  return globals_.DiskRemovable(DriveOfName(files_.Empty() ? firstFragment : *files_.begin()));
}

// One series' run in named steps; each step returns false when the run of
// the series ends there.
class ActiveAssembler::SeriesRun {
 public:
  SeriesRun(ActiveAssembler& assembler, const std::string& firstFragment)
      : a_(assembler), first_(firstFragment), boxes_(assembler.globals_.GetPlatform().boxes) {}

  void Execute() {
    n_ = a_.FragmentCount(first_);
    a_.events_.AssembleStart(n_);
    format_ = a_.FileFormat(first_);
    if (format_ != aftQuorvelle)
      foreignHeader_ = a_.Header(first_);
    if (!CountIsKnown())
      return;
    assembledName_ = a_.AssembledFilename(first_);
    stem_ = SeriesStem(first_);
    if (!HasFragments())
      return;
    for (int i = 1; i <= n_; ++i) {
      if (!JoinFragment(i) || !FetchNextDisk(i))
        return;
    }
    if (FileExists(output_->FinalName()) &&
        !a_.events_.ReplaceExisting(output_->FinalName(), output_->WorkingName())) {
      output_->Discard();
      return;
    }
    output_->Complete();
    ++a_.completedSeries_;
  }

 private:
  // Probing cannot see past the disk in the drive, so a lone unformatted
  // fragment on a removable disk tells nothing about the series' length.
  // The format is asked again here: every format query reads the fragment
  // anew and shows the old-format messages again.
  bool CountIsKnown() {
    const bool firstOnRemovable = a_.globals_.DiskRemovable(DriveOfName(first_));
    if (a_.FileFormat(first_) == aftRaw && n_ == 1 && firstOnRemovable) {
      boxes_.Show(
          "Since these fragments are unformatted, all fragments must be copied to the same "
          "directory on your hard disk before assembling can take place.",
          "Unable to determine number of fragments", mb::kIconCritical);
      return false;
    }
    return true;
  }

  bool HasFragments() {
    if (n_ > 0)
      return true;
    const std::string text = format_ == aftQuorvelle
                                 ? "The series header of " + first_ + " is damaged: it gives " +
                                       std::to_string(n_) + " fragments. Nothing was assembled."
                                 : "The first fragment " + SeriesFragmentName(stem_, 1) +
                                       " was not found. Nothing was assembled.";
    boxes_.Show(text, "Nothing to assemble", mb::kIconCritical);
    return false;
  }

  bool JoinFragment(int i) {
    a_.events_.AssembleInterval(static_cast<int16_t>(i));
    // The length from the open file rather than from another look-up by
    // name: a fragment costs the system one question fewer.
    File fragment(SeriesFragmentName(stem_, i), File::Mode::kRead);
    const uint64_t length = fragment.Length();
    // A series without check digits or cipher has nothing to look at in the
    // bytes past fragment 1's header: they go straight through, copied by
    // the system where it can. A raw series has no header to look at either.
    const bool plain = !header_.file.checkable && !header_.file.encrypted;
    if (i > 1 && plain) {
      output_->AppendFrom(fragment, length);
    } else if (i == 1 && format_ == aftRaw) {
      std::span<uint8_t> none;
      TakeFirstFragmentHeaders(none);
      output_->AppendFrom(fragment, length);
    } else if (!JoinWhole(fragment, length, i)) {
      return false;
    }
    fragment.Close();
    return true;
  }

  bool JoinWhole(File& fragment, uint64_t length, int i) {
    std::span<uint8_t> data = buffer_.Fill(fragment, length);
    if (i == 1 && !TakeFirstFragmentHeaders(data))
      return false;
    if (header_.file.checkable) {
      a_.VerifyFragment(data, i, [&] {
        fragment.Close();
        output_->KeepPartial();
      });
      data = DropBack(data, kCheckDigitCount);
    }
    if (header_.file.encrypted)
      a_.Decipher(data);
    output_->Append(data.data(), data.size());
    return true;
  }

  // Strips the headers from fragment 1's bytes and opens the output.
  bool TakeFirstFragmentHeaders(std::span<uint8_t>& data) {
    if (format_ == aftQuorvelle) {
      header_ = ParseSeriesHeader(data);
      if (header_.file.encrypted && !a_.AcceptEncryptedSeries(first_))
        return false;
      data = DropFront(data, header_.length);
    }
    data = DropFront(data, foreignHeader_.size());
    output_.emplace(a_.SafeOutputPath(first_, assembledName_),
                    [this](const std::string& kept) { a_.keptPartials_.push_back(kept); });
    return true;
  }

  // The disk questions follow the list's first entry, whatever series
  // runs; the drive is asked again before every repeated request.
  bool FetchNextDisk(int i) {
    bool cancel = false;
    while (a_.ListDiskRemovable(first_) && i < n_) {
      a_.events_.RequireNextDisk(static_cast<int16_t>(i + 1), cancel);
      if (cancel) {
        output_->Discard();
        return false;
      }
      if (CanOpenForReading(SeriesFragmentName(stem_, i + 1)))
        break;
    }
    return true;
  }

  ActiveAssembler& a_;
  const std::string& first_;
  MessageBoxes& boxes_;
  int16_t n_ = 0;
  AftFileFormat format_ = aftRaw;
  std::string foreignHeader_;
  std::optional<std::string> assembledName_;
  std::string stem_;
  SeriesHeader header_;  // all flags clear unless fragment 1 is in the own format
  std::optional<AssemblyOutput> output_;
  FragmentBuffer buffer_;
};

void ActiveAssembler::AssembleSeries(const std::string& firstFragment) {
  SeriesRun(*this, firstFragment).Execute();
}

}  // namespace vtq
