#pragma once
// The one computation of both the writing of recovery slices and the
// rebuilding of lost ones: outputs that are sums of input slices, each
// multiplied by its own constant. Inputs are read straight from their files
// and never held whole; when the outputs of a whole slice would not fit the
// memory budget, the slices are worked through in columns (the same range
// of every slice at once), reading the inputs once per column range.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "recovery/gf16.h"

namespace vtq::recovery {

// A slice read from a file: `length` bytes from `offset`, the rest of the
// slice zeros.
struct SliceInput {
  std::string file;
  uint64_t offset = 0;
  uint64_t length = 0;
};

// What the combiner may allocate for its buffers by default: less on a
// 32-bit system, whose address space is small.
inline constexpr size_t kDefaultMemoryBudget =
    sizeof(void*) >= 8 ? size_t{256} << 20 : size_t{96} << 20;

class SliceCombiner {
 public:
  // The bytes of output `output` from column `column` of the slice on.
  using OutputSink =
      std::function<void(size_t output, uint64_t column, std::span<const uint8_t> data)>;
  // The bytes of input `input` read from column `column` on (what the file
  // holds, without the zeros); on a single pass, every byte in order.
  using InputObserver =
      std::function<void(size_t input, uint64_t column, std::span<const uint8_t> data)>;
  // Bytes read so far, of `Total()`.
  using Progress = std::function<void(uint64_t done)>;

  // Fills in the constants of input `input` for every output: asked for
  // each input as it is read, so that no matrix of inputs by outputs (which
  // a large set would not fit in memory) is ever held.
  using Coefficients = std::function<void(size_t input, std::span<Gf16> perOutput)>;

  SliceCombiner(uint64_t sliceSize, std::vector<SliceInput> inputs, size_t outputs,
                Coefficients coefficients, size_t memoryBudget = kDefaultMemoryBudget);

  // Columns worked at a time, and the passes over the inputs that makes.
  uint64_t PassWidth() const { return width_; }
  uint64_t Passes() const;
  uint64_t Total() const;

  // Raises the engine's errors of reading.
  void Run(const OutputSink& sink, const InputObserver& observer = {},
           const Progress& progress = {}) const;

 private:
  uint64_t sliceSize_;
  std::vector<SliceInput> inputs_;
  size_t outputs_;
  Coefficients coefficients_;
  uint64_t width_;
};

}  // namespace vtq::recovery
