#include "recovery/slice_combiner.h"

#include <algorithm>
#include <optional>

#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq::recovery {
namespace {

// The part of a column range that the multiply loops take at a time: small
// enough to stay in the processor's cache while every output is added to.
constexpr size_t kTile = 16 * 1024;

}  // namespace

SliceCombiner::SliceCombiner(uint64_t sliceSize, std::vector<SliceInput> inputs, size_t outputs,
                             Coefficients coefficients, size_t memoryBudget)
    : sliceSize_(sliceSize),
      inputs_(std::move(inputs)),
      outputs_(outputs),
      coefficients_(std::move(coefficients)) {
  if (sliceSize_ == 0 || sliceSize_ % 4 != 0 || !coefficients_) {
    Raise(err::kInvalidArgument);
  }
  // One buffer per output and one for the input being read.
  const uint64_t perColumn = outputs_ + 1;
  uint64_t width = memoryBudget / perColumn;
  width -= width % 4;
  width_ = std::clamp<uint64_t>(width, 4, sliceSize_);
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
  const size_t width = static_cast<size_t>(width_);
  std::vector<std::vector<uint8_t>> accumulators(outputs_, std::vector<uint8_t>(width));
  std::vector<uint8_t> buffer(width);
  std::vector<std::optional<RegionMultiplier>> multipliers(outputs_);
  std::vector<Gf16> factors(outputs_);
  File file;
  uint64_t done = 0;
  for (uint64_t column = 0; column < sliceSize_; column += width_) {
    const size_t columns = static_cast<size_t>(std::min<uint64_t>(width_, sliceSize_ - column));
    for (auto& accumulator : accumulators)
      std::fill_n(accumulator.begin(), columns, uint8_t{0});
    for (size_t i = 0; i < inputs_.size(); ++i) {
      const SliceInput& input = inputs_[i];
      const uint64_t present = std::min(input.length, sliceSize_);
      const size_t stored =
          column >= present ? 0
                            : static_cast<size_t>(std::min<uint64_t>(columns, present - column));
      if (stored > 0) {
        if (!file.IsOpen() || file.Name() != input.file)
          file = File(input.file, File::Mode::kRead);
        file.Seek(input.offset + column);
        file.ReadExactly(buffer.data(), stored);
      }
      if (observer && stored > 0)
        observer(i, column, std::span<const uint8_t>(buffer.data(), stored));
      // Zeros add nothing: only the stored part is multiplied.
      const size_t even = stored + stored % 2;
      if (even > stored)
        buffer[stored] = 0;
      coefficients_(i, factors);
      for (size_t o = 0; o < outputs_; ++o) {
        const Gf16 factor = factors[o];
        if (factor == 0)
          multipliers[o].reset();
        else if (!multipliers[o] || multipliers[o]->Factor() != factor)
          multipliers[o].emplace(factor);
      }
      for (size_t tile = 0; tile < even; tile += kTile) {
        const size_t bytes = std::min(kTile, even - tile);
        for (size_t o = 0; o < outputs_; ++o) {
          if (multipliers[o])
            multipliers[o]->MultiplyAdd(buffer.data() + tile, accumulators[o].data() + tile, bytes);
        }
      }
      done += stored;
      if (progress && stored > 0)
        progress(done);
    }
    for (size_t o = 0; o < outputs_; ++o)
      sink(o, column, std::span<const uint8_t>(accumulators[o].data(), columns));
  }
}

}  // namespace vtq::recovery
