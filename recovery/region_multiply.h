#pragma once
// Multiplication of whole regions of GF(2^16) words by one constant, added
// to another region: the loop that writing and rebuilding recovery slices
// spend their time in. The fast ways work on a reordered copy of the data
// (the working layout below), so that the reordering is paid once per input
// slice instead of once per recovery slice it is added to.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "recovery/gf16.h"

namespace vtq::recovery {

// How the products are computed, slowest first:
// - kTables: the products of the word's four nibbles looked up one word at
//   a time, on any processor;
// - kSsse3, kAvx2: split multiplication by nibble, 16-entry tables of the
//   products' low and high bytes looked up by a byte shuffle, 16 or 32
//   bytes at a time;
// - kGfni: multiplication by a constant is a 16x16 matrix over GF(2), four
//   8x8 blocks of it applied to 32 bytes at a time by GF2P8AFFINEQB.
enum class MultiplyPath { kTables, kSsse3, kAvx2, kGfni };

// The paths this processor (and its system) can take, kTables first; the
// last one is the fastest.
std::vector<MultiplyPath> AvailablePaths();
MultiplyPath FastestPath();
const char* PathName(MultiplyPath path);  // "tables", "ssse3", "avx2", "gfni"

// The working layout, the same for every path: regions are worked in blocks
// of 64 bytes (32 words), each holding the low bytes of its words and then
// their high bytes, both halves in the order of words 0-7, 16-23, 8-15,
// 24-31 (what the processor's 128-bit unpacking gives). A tail of less than
// a block keeps the file's order. `path` only chooses the instructions.
inline constexpr size_t kLayoutBlock = 64;
void ToWorkingLayout(uint8_t* data, size_t bytes, MultiplyPath path = FastestPath());
void FromWorkingLayout(uint8_t* data, size_t bytes, MultiplyPath path = FastestPath());

class RegionMultiplier {
 public:
  explicit RegionMultiplier(Gf16 factor, MultiplyPath path = FastestPath());
  Gf16 Factor() const { return factor_; }
  MultiplyPath Path() const { return path_; }
  Gf16 Times(Gf16 word) const;
  // out ^= factor * in over `bytes` bytes (an even number), both regions in
  // the working layout from the start of a block.
  void MultiplyAdd(const uint8_t* in, uint8_t* out, size_t bytes) const;

 private:
  Gf16 factor_;
  MultiplyPath path_;
  // Nibble k's products, whole (every path's tail, and kTables throughout)
  // and split into their low and high bytes for the byte shuffles.
  Gf16 nibbleProducts_[4][16];
  alignas(16) uint8_t nibbleLow_[4][16];
  alignas(16) uint8_t nibbleHigh_[4][16];
  // kGfni: the four 8x8 blocks of the matrix (x86::AffineMultiplyAdd).
  uint64_t matrices_[4];
};

}  // namespace vtq::recovery
