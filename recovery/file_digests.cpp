#include "recovery/file_digests.h"

#include <algorithm>

#include "engine/platform/file_io.h"

namespace vtq::recovery {

StreamDigester::StreamDigester(uint64_t sliceSize, std::optional<uint64_t> length, bool crcs)
    : sliceSize_(sliceSize), oneWholeSlice_(length == sliceSize), crcs_(crcs) {}

void StreamDigester::Update(std::span<const uint8_t> bytes) {
  // A file that grew past the length it was said to have: its digest is
  // left as it was, which its length already tells apart.
  if (!wholeDone_)
    whole_.Update(bytes.data(), bytes.size());
  if (digests_.length < kFirstBytesHashed) {
    const auto part = std::min<uint64_t>(bytes.size(), kFirstBytesHashed - digests_.length);
    first16k_.Update(bytes.data(), static_cast<size_t>(part));
  }
  digests_.length += bytes.size();
  while (!bytes.empty()) {
    const auto part = static_cast<size_t>(std::min<uint64_t>(bytes.size(), sliceSize_ - inSlice_));
    if (!oneWholeSlice_)
      slice_.Update(bytes.data(), part);
    if (crcs_)
      sliceCrc_ = Crc32(bytes.data(), part, sliceCrc_);
    inSlice_ += part;
    bytes = bytes.subspan(part);
    if (inSlice_ == sliceSize_)
      CloseSlice();
  }
}

void StreamDigester::CloseSlice() {
  if (oneWholeSlice_ && digests_.length == sliceSize_) {
    digests_.md5 = whole_.Finish();
    wholeDone_ = true;
    digests_.slices.push_back({digests_.md5, sliceCrc_});
    sliceCrc_ = 0;
    inSlice_ = 0;
    return;
  }
  digests_.slices.push_back({slice_.Finish(), sliceCrc_});
  slice_ = Md5();
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
        slice_.Update(kZeros, part);
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

}  // namespace vtq::recovery
