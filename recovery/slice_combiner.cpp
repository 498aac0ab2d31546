#include "recovery/slice_combiner.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "recovery/lanes.h"
#include "recovery/region_multiply.h"

namespace vtq::recovery {
namespace {

// Inputs held at once: each tile of the outputs is loaded once per batch, so
// a larger batch saves memory traffic, up to the point where the batch's
// tiles no longer share the cache with it.
constexpr size_t kMostBatch = 16;
// Below this many, another pass over the inputs costs less than the traffic.
constexpr size_t kLeastBatch = 4;
// Read, shown to the observer and reordered while still in the cache.
constexpr size_t kReadPiece = 256 * 1024;
// What one tile of every output may take of a processor's own cache, with
// room left for the batch's tiles of input.
constexpr size_t kTileBytes = 512 * 1024;

size_t RoundUp(size_t n, size_t to) {
  return (n + to - 1) / to * to;
}

uint64_t RoundDownWidth(uint64_t width) {
  // Whole blocks of the working layout where the width allows it.
  return width >= kLayoutBlock ? width - width % kLayoutBlock : width - width % 4;
}

}  // namespace

// One run's buffers and its three steps: reading a batch, multiplying it
// into the outputs, handing the outputs of a pass to the sink.
class SliceCombiner::PassRun {
 public:
  PassRun(const SliceCombiner& combiner, Lanes& lanes, const InputObserver& observer)
      : c_(combiner),
        lanes_(lanes),
        observer_(observer),
        width_(static_cast<size_t>(combiner.width_)),
        outputs_(std::make_unique_for_overwrite<uint8_t[]>(combiner.outputs_ * width_)),
        batch_(std::make_unique_for_overwrite<uint8_t[]>(combiner.batch_ * width_)),
        multipliers_(combiner.batch_ * combiner.outputs_),
        lengths_(combiner.batch_),
        stored_(combiner.batch_),
        files_(static_cast<size_t>(lanes.Count())),
        factors_(static_cast<size_t>(lanes.Count()), std::vector<Gf16>(combiner.outputs_)),
        tile_(std::clamp<size_t>(kTileBytes / combiner.outputs_ / kLayoutBlock * kLayoutBlock, 1024,
                                 32 * 1024)) {}

  void StartPass(uint64_t column) {
    column_ = column;
    columns_ = static_cast<size_t>(std::min<uint64_t>(c_.width_, c_.sliceSize_ - column));
    lanes_.ForEach(c_.outputs_, [&](size_t o, int) { std::memset(Output(o), 0, columns_); });
  }

  // Reads inputs first.. of the batch; returns the bytes the files held.
  uint64_t ReadBatch(size_t first, size_t count) {
    first_ = first;
    count_ = count;
    // The observer sees one file's inputs in order: they go to one thread.
    std::vector<size_t> groups;
    for (size_t slot = 0; slot < count; ++slot) {
      if (slot == 0 || !observer_ ||
          c_.inputs_[first + slot].file != c_.inputs_[first + slot - 1].file) {
        groups.push_back(slot);
      }
    }
    groups.push_back(count);
    lanes_.ForEach(groups.size() - 1, [&](size_t g, int lane) {
      for (size_t slot = groups[g]; slot < groups[g + 1]; ++slot)
        ReadSlot(slot, lane);
    });
    uint64_t bytes = 0;
    for (size_t slot = 0; slot < count; ++slot)
      bytes += stored_[slot];
    return bytes;
  }

  void MultiplyBatch() {
    const size_t tiles = (columns_ + tile_ - 1) / tile_;
    lanes_.ForEach(tiles, [&](size_t t, int) { MultiplyTile(t * tile_); });
  }

  void FinishPass(const OutputSink& sink) {
    lanes_.ForEach(c_.outputs_, [&](size_t o, int) {
      FromWorkingLayout(Output(o), columns_);
      sink(o, column_, std::span<const uint8_t>(Output(o), columns_));
    });
  }

 private:
  uint8_t* Output(size_t o) { return outputs_.get() + o * width_; }
  uint8_t* Slot(size_t slot) { return batch_.get() + slot * width_; }

  void ReadSlot(size_t slot, int lane) {
    const size_t i = first_ + slot;
    const SliceInput& input = c_.inputs_[i];
    const uint64_t present = std::min(input.length, c_.sliceSize_);
    const size_t stored =
        column_ >= present ? 0
                           : static_cast<size_t>(std::min<uint64_t>(columns_, present - column_));
    // Zeros add nothing: only the stored part is multiplied, padded to whole
    // blocks of the layout.
    const size_t length = std::min(columns_, RoundUp(stored, kLayoutBlock));
    uint8_t* data = Slot(slot);
    std::memset(data + stored, 0, length - stored);
    File& file = files_[static_cast<size_t>(lane)];
    for (size_t piece = 0; piece < stored; piece += kReadPiece) {
      const size_t bytes = std::min(kReadPiece, stored - piece);
      if (piece == 0) {
        if (!file.IsOpen() || file.Name() != input.file)
          file = File(input.file, File::Mode::kRead);
        file.Seek(input.offset + column_);
      }
      file.ReadExactly(data + piece, bytes);
      if (observer_)
        observer_(i, column_ + piece, std::span<const uint8_t>(data + piece, bytes));
      const size_t end = piece + bytes == stored ? length : piece + bytes;
      ToWorkingLayout(data + piece, end - piece);
    }
    stored_[slot] = stored;
    lengths_[slot] = length;
    std::vector<Gf16>& factors = factors_[static_cast<size_t>(lane)];
    c_.coefficients_(i, factors);
    for (size_t o = 0; o < c_.outputs_; ++o) {
      std::optional<RegionMultiplier>& multiplier = multipliers_[slot * c_.outputs_ + o];
      if (factors[o] == 0 || length == 0)
        multiplier.reset();
      else if (!multiplier || multiplier->Factor() != factors[o])
        multiplier.emplace(factors[o]);
    }
  }

  // Every input of the batch into one tile of every output.
  void MultiplyTile(size_t at) {
    const size_t span = std::min(tile_, columns_ - at);
    for (size_t o = 0; o < c_.outputs_; ++o) {
      uint8_t* out = Output(o) + at;
      for (size_t slot = 0; slot < count_; ++slot) {
        const std::optional<RegionMultiplier>& multiplier = multipliers_[slot * c_.outputs_ + o];
        if (!multiplier || lengths_[slot] <= at)
          continue;
        multiplier->MultiplyAdd(Slot(slot) + at, out, std::min(span, lengths_[slot] - at));
      }
    }
  }

  const SliceCombiner& c_;
  Lanes& lanes_;
  const InputObserver& observer_;
  const size_t width_;
  std::unique_ptr<uint8_t[]> outputs_;
  std::unique_ptr<uint8_t[]> batch_;
  std::vector<std::optional<RegionMultiplier>> multipliers_;  // by slot, then output
  std::vector<size_t> lengths_;                               // multiplied, by slot
  std::vector<size_t> stored_;                                // read, by slot
  std::vector<File> files_;                                   // by lane
  std::vector<std::vector<Gf16>> factors_;                    // by lane
  const size_t tile_;
  uint64_t column_ = 0;
  size_t columns_ = 0;
  size_t first_ = 0;
  size_t count_ = 0;
};

SliceCombiner::SliceCombiner(uint64_t sliceSize, std::vector<SliceInput> inputs, size_t outputs,
                             Coefficients coefficients, size_t memoryBudget, int lanes)
    : sliceSize_(sliceSize),
      inputs_(std::move(inputs)),
      outputs_(outputs),
      coefficients_(std::move(coefficients)),
      lanes_(lanes) {
  if (sliceSize_ == 0 || sliceSize_ % 4 != 0 || outputs_ == 0 || !coefficients_)
    Raise(err::kInvalidArgument);
  // The outputs' columns, the batch's columns and the batch's multipliers.
  const uint64_t perSlot = sizeof(std::optional<RegionMultiplier>) * outputs_;
  const uint64_t budget = memoryBudget;
  const uint64_t outputBytes = outputs_ * sliceSize_;
  if (outputBytes + kMostBatch * (sliceSize_ + perSlot) <= budget) {
    width_ = sliceSize_;
    batch_ = kMostBatch;
  } else if (outputBytes + kLeastBatch * (sliceSize_ + perSlot) <= budget) {
    width_ = sliceSize_;
    batch_ = static_cast<size_t>((budget - outputBytes) / (sliceSize_ + perSlot));
  } else {
    batch_ = kLeastBatch;
    const uint64_t left = budget > batch_ * perSlot ? budget - batch_ * perSlot : 0;
    width_ = std::clamp<uint64_t>(RoundDownWidth(left / (outputs_ + batch_)), 4, sliceSize_);
  }
  batch_ = std::clamp<size_t>(batch_, 1, std::max<size_t>(inputs_.size(), 1));
}

uint64_t SliceCombiner::Passes() const {
  return (sliceSize_ + width_ - 1) / width_;
}

uint64_t SliceCombiner::Total() const {
  uint64_t bytes = 0;
  for (const SliceInput& input : inputs_)
    bytes += std::min(input.length, sliceSize_);
  return bytes;
}

void SliceCombiner::Run(const OutputSink& sink, const InputObserver& observer,
                        const Progress& progress) const {
  Lanes lanes(lanes_);
  PassRun run(*this, lanes, observer);
  uint64_t done = 0;
  for (uint64_t column = 0; column < sliceSize_; column += width_) {
    run.StartPass(column);
    for (size_t first = 0; first < inputs_.size(); first += batch_) {
      done += run.ReadBatch(first, std::min(batch_, inputs_.size() - first));
      if (progress)
        progress(done);
      run.MultiplyBatch();
    }
    run.FinishPass(sink);
  }
}

}  // namespace vtq::recovery
