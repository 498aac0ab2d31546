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
#include "engine/file_io.h"
#include "engine/globals.h"
#include "engine/path.h"

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

  // Copies a fragment that needs no verification or deciphering to `output`
  // through the buffer in pieces small enough to stay in the processor's
  // cache; the bytes are the ones Fill would have appended.
  void PassThrough(File& file, uint64_t length, AssemblyOutput& output) {
    constexpr uint64_t kPiece = 256 * 1024;
    const size_t piece = Reserve(std::min(length, kPiece));
    for (uint64_t left = length; left > 0;) {
      const auto now = static_cast<size_t>(std::min<uint64_t>(left, piece));
      file.ReadExactly(bytes_.get(), now);
      output.Append(bytes_.get(), now);
      left -= now;
    }
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

bool CanOpen(const std::string& name) {
  try {
    File probe(name, File::Mode::kRead);
    return true;
  } catch (const VbError&) {
    return false;
  }
}

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

void ActiveAssembler::AssembleSeries(const std::string& firstFragment) {
  MessageBoxes& boxes = globals_.GetPlatform().boxes;
  const int16_t n = FragmentCount(firstFragment);
  events_.AssembleStart(n);

  const AftFileFormat format = FileFormat(firstFragment);
  std::string foreignHeader;
  if (format != aftQuorvelle)
    foreignHeader = Header(firstFragment);

  // Probing cannot see past the disk in the drive, so a lone unformatted
  // fragment on a removable disk tells nothing about the series' length.
  // The format is asked again here: every format query reads the fragment
  // anew and shows the old-format messages again.
  const bool firstOnRemovable = globals_.DiskRemovable(DriveOfName(firstFragment));
  if (FileFormat(firstFragment) == aftRaw && n == 1 && firstOnRemovable) {
    boxes.Show(
        "Since these fragments are unformatted, all fragments must be copied to the same "
        "directory on your hard disk before assembling can take place.",
        "Unable to determine number of fragments", mb::kIconCritical);
    return;
  }

  const std::optional<std::string> assembledName = AssembledFilename(firstFragment);
  const std::string stem = SeriesStem(firstFragment);
  if (n <= 0) {
    const std::string text = format == aftQuorvelle
                                 ? "The series header of " + firstFragment +
                                       " is damaged: it gives " + std::to_string(n) +
                                       " fragments. Nothing was assembled."
                                 : "The first fragment " + SeriesFragmentName(stem, 1) +
                                       " was not found. Nothing was assembled.";
    boxes.Show(text, "Nothing to assemble", mb::kIconCritical);
    return;
  }

  SeriesHeader header;  // all flags clear unless fragment 1 is in the own format
  std::optional<AssemblyOutput> output;
  FragmentBuffer buffer;

  for (int i = 1; i <= n; ++i) {
    events_.AssembleInterval(static_cast<int16_t>(i));
    const std::string name = SeriesFragmentName(stem, i);
    const uint64_t length = FileLength(name);
    File fragment(name, File::Mode::kRead);
    // Past fragment 1, a series without check digits or cipher has nothing
    // to look at in the bytes: they go straight through.
    if (i > 1 && !header.file.checkable && !header.file.encrypted) {
      buffer.PassThrough(fragment, length, *output);
    } else {
      std::span<uint8_t> data = buffer.Fill(fragment, length);

      if (i == 1 && format == aftQuorvelle) {
        header = ParseSeriesHeader(data);
        if (header.file.encrypted && !AcceptEncryptedSeries(firstFragment))
          return;
        data = DropFront(data, header.length);
      }

      if (i == 1) {
        data = DropFront(data, foreignHeader.size());
        output.emplace(SafeOutputPath(firstFragment, assembledName),
                       [this](const std::string& kept) { keptPartials_.push_back(kept); });
      }

      if (header.file.checkable) {
        VerifyFragment(data, i, [&] {
          fragment.Close();
          output->KeepPartial();
        });
        data = DropBack(data, kCheckDigitCount);
      }

      if (header.file.encrypted)
        Decipher(data);

      output->Append(data.data(), data.size());
    }
    fragment.Close();

    // The disk questions follow the list's first entry, whatever series
    // runs; the drive is asked again before every repeated request.
    bool cancel = false;
    while (ListDiskRemovable(firstFragment) && i < n) {
      events_.RequireNextDisk(static_cast<int16_t>(i + 1), cancel);
      if (cancel) {
        output->Discard();
        return;
      }
      if (CanOpen(SeriesFragmentName(stem, i + 1)))
        break;
    }
  }
  output->Complete();
  ++completedSeries_;
}

}  // namespace vtq
