// The combiner against sums computed word by word: one thread and several,
// one pass of whole slices and column passes of a small budget, inputs
// shorter than a slice, empty and sharing a file; the observer's view of
// each file; a failed read coming out of Run.

#include "recovery/slice_combiner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>

#include "engine/error.h"
#include "engine/tests/support/scratch.h"
#include "recovery/region_multiply.h"

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

struct Case {
  test::ScratchDir dir;
  uint64_t sliceSize = 0;
  std::vector<SliceInput> inputs;
  std::map<std::string, Bytes> files;

  // Inputs `lengths` long, every third one from the file before it.
  Case(uint64_t slice, const std::vector<uint64_t>& lengths) : sliceSize(slice) {
    uint64_t offset = 0;
    std::string file;
    for (size_t i = 0; i < lengths.size(); ++i) {
      if (i % 3 == 0) {
        file = dir / ("in" + std::to_string(i));
        offset = 0;
      }
      inputs.push_back({file, offset, lengths[i]});
      Bytes& bytes = files[file];
      const Bytes more = test::PatternBytes(static_cast<size_t>(lengths[i]), 40 + i);
      bytes.insert(bytes.end(), more.begin(), more.end());
      offset += lengths[i];
    }
    for (const auto& [name, bytes] : files)
      test::WriteBytes(name, bytes);
  }

  static Gf16 Coefficient(size_t input, size_t output) {
    return output == 1 && input % 4 == 2 ? 0 : static_cast<Gf16>(0x1F3D * (input + 1) + output);
  }

  std::vector<Bytes> Expected(size_t outputs) const {
    std::vector<Bytes> sums(outputs, Bytes(static_cast<size_t>(sliceSize), 0));
    for (size_t i = 0; i < inputs.size(); ++i) {
      Bytes slice(static_cast<size_t>(sliceSize), 0);
      const Bytes& file = files.at(inputs[i].file);
      std::copy_n(file.begin() + static_cast<ptrdiff_t>(inputs[i].offset),
                  std::min(inputs[i].length, sliceSize), slice.begin());
      for (size_t o = 0; o < outputs; ++o) {
        for (size_t w = 0; w < slice.size(); w += 2) {
          const Gf16 product =
              GfMultiply(Coefficient(i, o), static_cast<Gf16>(slice[w] | slice[w + 1] << 8));
          sums[o][w] ^= static_cast<uint8_t>(product);
          sums[o][w + 1] ^= static_cast<uint8_t>(product >> 8);
        }
      }
    }
    return sums;
  }

  std::vector<Bytes> Run(size_t outputs, size_t budget, int lanes, uint64_t* passes = nullptr) {
    SliceCombiner combiner(
        sliceSize, inputs, outputs,
        [](size_t i, std::span<Gf16> perOutput) {
          for (size_t o = 0; o < perOutput.size(); ++o)
            perOutput[o] = Coefficient(i, o);
        },
        budget, lanes);
    if (passes)
      *passes = combiner.Passes();
    std::vector<Bytes> sums(outputs, Bytes(static_cast<size_t>(sliceSize), 0xEE));
    std::mutex guard;
    combiner.Run([&](size_t o, uint64_t column, std::span<const uint8_t> data) {
      const std::lock_guard lock(guard);
      std::copy(data.begin(), data.end(), sums[o].begin() + static_cast<ptrdiff_t>(column));
    });
    return sums;
  }
};

TEST(SliceCombiner, OutputsAreTheWordByWordSumsOnAnyThreadsAndPasses) {
  // A slice that is no whole number of layout blocks, inputs of every
  // length up to it (and beyond: only a slice of it counts).
  Case c(1000, {1000, 999, 0, 64, 1, 1000, 130, 2000, 500, 1000, 7, 1000, 998});
  Case wide(64 * 1024 + 12, {64 * 1024 + 12, 40000, 3, 64 * 1024, 64 * 1024 + 12});
  EXPECT_EQ(wide.Run(2, kDefaultMemoryBudget, 2), wide.Expected(2));
  const std::vector<Bytes> expected = c.Expected(3);
  for (const int lanes : {1, 2, 3}) {
    uint64_t passes = 0;
    EXPECT_EQ(c.Run(3, kDefaultMemoryBudget, lanes, &passes), expected) << lanes << " lanes";
    EXPECT_EQ(passes, 1u);
    // Columns of 256 bytes, four inputs at a time.
    const size_t small = 7 * 256 + 4 * 3 * sizeof(std::optional<RegionMultiplier>);
    EXPECT_EQ(c.Run(3, small, lanes, &passes), expected) << lanes << " lanes, small budget";
    EXPECT_GT(passes, 1u);
  }
}

TEST(SliceCombiner, TheObserverSeesEachFileInOrderOnOneThreadAtATime) {
  Case c(4096, {4096, 4096, 100, 4096, 4096, 4096, 50, 4096, 4096, 4096, 4096, 4096, 8});
  SliceCombiner combiner(
      c.sliceSize, c.inputs, 1, [](size_t, std::span<Gf16> f) { f[0] = 7; }, kDefaultMemoryBudget,
      3);
  std::map<std::string, Bytes> seen;
  std::map<std::string, std::atomic<int>> inside;
  for (const auto& [name, bytes] : c.files)
    inside[name] = 0;
  std::mutex guard;
  uint64_t lastProgress = 0;
  combiner.Run([](size_t, uint64_t, std::span<const uint8_t>) {},
               [&](size_t input, uint64_t, std::span<const uint8_t> data) {
                 const std::string& file = c.inputs[input].file;
                 EXPECT_EQ(inside[file].fetch_add(1), 0)
                     << file << " observed on two threads at once";
                 {
                   const std::lock_guard lock(guard);
                   seen[file].insert(seen[file].end(), data.begin(), data.end());
                 }
                 inside[file].fetch_sub(1);
               },
               [&](uint64_t done) {
                 EXPECT_GE(done, lastProgress);
                 lastProgress = done;
               });
  EXPECT_EQ(seen, c.files);
  EXPECT_EQ(lastProgress, combiner.Total());
}

TEST(SliceCombiner, AFailedReadOnAnyThreadComesOutOfRun) {
  Case c(1024, {1024, 1024, 1024, 1024, 1024, 1024, 1024});
  c.inputs[4].file = c.dir / "gone";
  SliceCombiner combiner(
      c.sliceSize, c.inputs, 2, [](size_t, std::span<Gf16> f) { f[0] = f[1] = 3; },
      kDefaultMemoryBudget, 2);
  try {
    combiner.Run([](size_t, uint64_t, std::span<const uint8_t>) {});
    FAIL() << "no error";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), err::kFileNotFound);
  }
}

}  // namespace
}  // namespace vtq::recovery
