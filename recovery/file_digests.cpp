#include "recovery/file_digests.h"

#include <algorithm>
#include <vector>

#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq::recovery {

StreamDigester::StreamDigester(uint64_t sliceSize, std::optional<uint64_t> length, bool crcs)
    : sliceSize_(sliceSize), oneWholeSlice_(length == sliceSize), crcs_(crcs) {}

void StreamDigester::Update(std::span<const uint8_t> bytes) {
  StreamDigester* self = this;
  UpdateTogether(std::span<StreamDigester* const>(&self, 1),
                 std::span<const std::span<const uint8_t>>(&bytes, 1));
}

void StreamDigester::UpdateTogether(std::span<StreamDigester* const> digesters,
                                    std::span<const std::span<const uint8_t>> bytes) {
  std::vector<Md5Stream*> streams;
  std::vector<std::span<const uint8_t>> parts;
  // The files' own MD5s, all at once.
  for (size_t i = 0; i < digesters.size(); ++i) {
    StreamDigester& d = *digesters[i];
    std::span<const uint8_t> whole = bytes[i];
    // A file that grew past the length it was said to have: its digest is
    // left as it was, which its length already tells apart.
    if (d.wholeDone_)
      whole = {};
    else if (d.oneWholeSlice_)
      whole = whole.first(
          static_cast<size_t>(std::min<uint64_t>(whole.size(), d.sliceSize_ - d.digests_.length)));
    if (!whole.empty()) {
      streams.push_back(&d.whole_);
      parts.push_back(whole);
    }
    if (d.digests_.length < kFirstBytesHashed) {
      const auto part = std::min<uint64_t>(bytes[i].size(), kFirstBytesHashed - d.digests_.length);
      d.first16k_.Update(bytes[i].data(), static_cast<size_t>(part));
    }
    d.digests_.length += bytes[i].size();
  }
  Md5Stream::UpdateTogether(streams, parts);
  // The slices' MD5s in rounds, each as far as the next end of a slice.
  std::vector<size_t> done(digesters.size(), 0);
  for (;;) {
    streams.clear();
    parts.clear();
    std::vector<StreamDigester*> moved;
    for (size_t i = 0; i < digesters.size(); ++i) {
      StreamDigester& d = *digesters[i];
      const std::span<const uint8_t> rest = bytes[i].subspan(done[i]);
      if (rest.empty())
        continue;
      const std::span<const uint8_t> part = rest.first(
          static_cast<size_t>(std::min<uint64_t>(rest.size(), d.sliceSize_ - d.inSlice_)));
      if (!d.oneWholeSlice_) {
        streams.push_back(&d.slice_);
        parts.push_back(part);
      }
      if (d.crcs_)
        d.sliceCrc_ = Crc32(part.data(), part.size(), d.sliceCrc_);
      d.inSlice_ += part.size();
      done[i] += part.size();
      moved.push_back(&d);
    }
    if (moved.empty())
      return;
    Md5Stream::UpdateTogether(streams, parts);
    for (StreamDigester* d : moved) {
      if (d->inSlice_ == d->sliceSize_)
        d->CloseSlice();
    }
  }
}

void StreamDigester::CloseSlice() {
  // The first slice of a file of one whole slice, met in full: its MD5 is
  // the file's (which stopped at the slice's end).
  if (oneWholeSlice_ && digests_.slices.empty() && digests_.length >= sliceSize_) {
    digests_.md5 = whole_.Finish();
    wholeDone_ = true;
    digests_.slices.push_back({digests_.md5, sliceCrc_});
    sliceCrc_ = 0;
    inSlice_ = 0;
    return;
  }
  digests_.slices.push_back({slice_.Finish(), sliceCrc_});
  sliceCrc_ = 0;
  inSlice_ = 0;
}

FileDigests StreamDigester::Finish(const PadLastSlice& padLast) {
  if (inSlice_ > 0) {
    const uint64_t padding = sliceSize_ - inSlice_;
    if (padLast && !padLast(padding)) {
      digests_.lastSliceHashed = false;
      digests_.slices.push_back({Md5Digest{}, 0});
      inSlice_ = 0;
      sliceCrc_ = 0;
    } else {
      static constexpr uint8_t kZeros[4096] = {};
      for (uint64_t left = padding; left > 0;) {
        const auto part = static_cast<size_t>(std::min<uint64_t>(left, sizeof kZeros));
        slice_.Update(std::span<const uint8_t>(kZeros, part));
        left -= part;
      }
      if (crcs_)
        sliceCrc_ = Crc32OfZeros(padding, sliceCrc_);
      CloseSlice();
    }
  }
  if (!wholeDone_)
    digests_.md5 = whole_.Finish();
  digests_.md5First16k = first16k_.Finish();
  return std::move(digests_);
}

FileDigests DigestFile(const std::string& name, uint64_t sliceSize,
                       const std::function<void(uint64_t)>& progress, bool crcs,
                       const PadLastSlice& padLast) {
  File file(name, File::Mode::kRead);
  StreamDigester digester(sliceSize, file.Length(), crcs);
  std::vector<uint8_t> buffer(1 << 20);
  uint64_t done = 0;
  for (;;) {
    const size_t got = file.Read(buffer.data(), buffer.size());
    if (got == 0)
      break;
    digester.Update(std::span<const uint8_t>(buffer.data(), got));
    done += got;
    if (progress)
      progress(done);
  }
  return digester.Finish(padLast);
}

size_t GroupsOfFilesReadTogether(size_t files, int threads) {
  // Eight fill the lanes of an AVX2 register with their MD5s.
  constexpr size_t kFilesReadTogether = 8;
  const auto shares = static_cast<size_t>(std::max(threads, 1));
  const size_t groups = (files + kFilesReadTogether - 1) / kFilesReadTogether;
  return std::min(files, (groups + shares - 1) / shares * shares);
}

std::vector<std::optional<FileDigests>> DigestFiles(
    const std::vector<std::string>& names, uint64_t sliceSize,
    const std::function<void(size_t file, uint64_t done)>& progress, bool crcs,
    const PadLastSlice& padLast) {
  // Pieces that keep every file's next bytes in the processor's cache
  // between the read and the hash.
  constexpr size_t kPiece = 64 * 1024;
  struct Reading {
    File file;
    std::optional<StreamDigester> digester;
    uint64_t done = 0;
    bool reading = false;
  };
  std::vector<Reading> files(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    try {
      files[i].file = File(names[i], File::Mode::kRead);
      files[i].digester.emplace(sliceSize, files[i].file.Length(), crcs);
      files[i].reading = true;
    } catch (const VbError&) {
      files[i].digester.reset();
    }
  }
  std::vector<uint8_t> buffer(names.size() * kPiece);
  std::vector<StreamDigester*> digesters;
  std::vector<std::span<const uint8_t>> pieces;
  for (;;) {
    digesters.clear();
    pieces.clear();
    for (size_t i = 0; i < files.size(); ++i) {
      Reading& f = files[i];
      if (!f.reading)
        continue;
      uint8_t* piece = buffer.data() + i * kPiece;
      size_t got = 0;
      try {
        got = f.file.Read(piece, kPiece);
      } catch (const VbError&) {
        f.digester.reset();  // unreadable in part: nothing of it is known
      }
      if (got == 0) {
        f.reading = false;
        continue;
      }
      digesters.push_back(&*f.digester);
      pieces.emplace_back(piece, got);
      f.done += got;
    }
    if (digesters.empty())
      break;
    StreamDigester::UpdateTogether(digesters, pieces);
    for (size_t i = 0; progress && i < files.size(); ++i) {
      if (files[i].reading)
        progress(i, files[i].done);
    }
  }
  std::vector<std::optional<FileDigests>> digests(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].digester)
      digests[i] = files[i].digester->Finish(padLast);
  }
  return digests;
}

}  // namespace vtq::recovery
