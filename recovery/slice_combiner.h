#pragma once
// The one computation of both the writing of recovery slices and the
// rebuilding of lost ones: outputs that are sums of input slices, each
// multiplied by its own constant. Inputs are read straight from their files
// and never held whole; when the outputs of a whole slice would not fit the
// memory budget, the slices are worked through in columns (the same range
// of every slice at once), reading the inputs once per column range.
//
// Every processor takes a share (recovery/lanes.h): a batch of inputs is
// read (and shown to the observer) by several threads at once, then its
// columns are multiplied into the outputs by all of them, tile by tile, so
// that the tiles of every output stay in the processor's cache while the
// whole batch is added to them.

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
  // The bytes of output `output` from column `column` of the slice on. Called
  // from any of the run's threads, for different outputs at once; one
  // output's column ranges come in order.
  using OutputSink =
      std::function<void(size_t output, uint64_t column, std::span<const uint8_t> data)>;
  // The bytes of input `input` read from column `column` on (what the file
  // holds, without the zeros); on a single pass, every byte in order. Called
  // from any of the run's threads, for inputs of different files at once;
  // the inputs of one file come in order, on one thread.
  using InputObserver =
      std::function<void(size_t input, uint64_t column, std::span<const uint8_t> data)>;
  // Bytes read so far, of `Total()`; on the thread that called Run.
  using Progress = std::function<void(uint64_t done)>;

  // Fills in the constants of input `input` for every output: asked for
  // each input as it is read, so that no matrix of inputs by outputs (which
  // a large set would not fit in memory) is ever held. Called from any of
  // the run's threads at once.
  using Coefficients = std::function<void(size_t input, std::span<Gf16> perOutput)>;

  // `lanes`: the threads that share the work, the caller's among them (0:
  // one per processor).
  SliceCombiner(uint64_t sliceSize, std::vector<SliceInput> inputs, size_t outputs,
                Coefficients coefficients, size_t memoryBudget = kDefaultMemoryBudget,
                int lanes = 0);

  // Columns worked at a time, and the passes over the inputs that makes.
  uint64_t PassWidth() const { return width_; }
  uint64_t Passes() const;
  uint64_t Total() const;
  // Inputs read before their columns are multiplied into the outputs.
  size_t BatchSize() const { return batch_; }

  // Raises the engine's errors of reading, and what the callbacks raise.
  void Run(const OutputSink& sink, const InputObserver& observer = {},
           const Progress& progress = {}) const;

 private:
  class PassRun;

  uint64_t sliceSize_;
  std::vector<SliceInput> inputs_;
  size_t outputs_;
  Coefficients coefficients_;
  int lanes_;
  uint64_t width_ = 0;
  size_t batch_ = 1;
};

}  // namespace vtq::recovery
