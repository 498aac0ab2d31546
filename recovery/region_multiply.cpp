#include "recovery/region_multiply.h"

#include <cstring>

#include "recovery/region_multiply_x86.h"

namespace vtq::recovery {
namespace {

// Where word `w` of a block has its low byte (its high byte is 32 further).
constexpr size_t LayoutPlace(size_t w) {
  return (w & 7) | ((w & 8) << 1) | ((w & 16) >> 1);
}

void ReorderBlocks(uint8_t* data, size_t bytes, bool toWorking) {
  uint8_t block[kLayoutBlock];
  for (size_t i = 0; i + kLayoutBlock <= bytes; i += kLayoutBlock) {
    uint8_t* p = data + i;
    std::memcpy(block, p, kLayoutBlock);
    for (size_t w = 0; w < kLayoutBlock / 2; ++w) {
      const size_t at = LayoutPlace(w);
      if (toWorking) {
        p[at] = block[2 * w];
        p[32 + at] = block[2 * w + 1];
      } else {
        p[2 * w] = block[at];
        p[2 * w + 1] = block[32 + at];
      }
    }
  }
}

size_t WholeBlocks(size_t bytes) {
  return bytes - bytes % kLayoutBlock;
}

}  // namespace

std::vector<MultiplyPath> AvailablePaths() {
  std::vector<MultiplyPath> paths;
  for (const MultiplyPath path :
       {MultiplyPath::kTables, MultiplyPath::kSsse3, MultiplyPath::kAvx2, MultiplyPath::kGfni}) {
    if (x86::Supports(path))
      paths.push_back(path);
  }
  return paths;
}

MultiplyPath FastestPath() {
  static const MultiplyPath fastest = AvailablePaths().back();
  return fastest;
}

const char* PathName(MultiplyPath path) {
  switch (path) {
    case MultiplyPath::kTables:
      return "tables";
    case MultiplyPath::kSsse3:
      return "ssse3";
    case MultiplyPath::kAvx2:
      return "avx2";
    case MultiplyPath::kGfni:
      return "gfni";
  }
  return "?";
}

void ToWorkingLayout(uint8_t* data, size_t bytes, MultiplyPath path) {
  const size_t done = path == MultiplyPath::kTables ? 0 : x86::ToLayout(path, data, bytes);
  ReorderBlocks(data + done, WholeBlocks(bytes - done), true);
}

void FromWorkingLayout(uint8_t* data, size_t bytes, MultiplyPath path) {
  const size_t done = path == MultiplyPath::kTables ? 0 : x86::FromLayout(path, data, bytes);
  ReorderBlocks(data + done, WholeBlocks(bytes - done), false);
}

RegionMultiplier::RegionMultiplier(Gf16 factor, MultiplyPath path) : factor_(factor), path_(path) {
  // Multiplication by a constant is linear over GF(2): a product is the XOR
  // of the products of the word's set bits.
  Gf16 bit[16];
  for (int b = 0; b < 16; ++b)
    bit[b] = GfMultiply(factor, static_cast<Gf16>(1u << b));
  for (int k = 0; k < 4; ++k) {
    nibbleProducts_[k][0] = 0;
    for (unsigned nibble = 1; nibble < 16; ++nibble) {
      const Gf16 product =
          nibbleProducts_[k][nibble & (nibble - 1)] ^ bit[4 * k + __builtin_ctz(nibble)];
      nibbleProducts_[k][nibble] = product;
    }
    for (unsigned nibble = 0; nibble < 16; ++nibble) {
      nibbleLow_[k][nibble] = static_cast<uint8_t>(nibbleProducts_[k][nibble]);
      nibbleHigh_[k][nibble] = static_cast<uint8_t>(nibbleProducts_[k][nibble] >> 8);
    }
  }
  // Row i of a block (the byte that gives bit i of the result) stands in
  // byte 7 - i of its matrix, bit j of the row for bit j of the source.
  for (int block = 0; block < 4; ++block) {
    const int toShift = block >= 2 ? 8 : 0;
    const int fromShift = block % 2 == 1 ? 8 : 0;
    uint64_t matrix = 0;
    for (int i = 0; i < 8; ++i) {
      uint64_t row = 0;
      for (int j = 0; j < 8; ++j)
        row |= static_cast<uint64_t>((bit[fromShift + j] >> (toShift + i)) & 1) << j;
      matrix |= row << (8 * (7 - i));
    }
    matrices_[block] = matrix;
  }
}

Gf16 RegionMultiplier::Times(Gf16 word) const {
  return nibbleProducts_[0][word & 15] ^ nibbleProducts_[1][(word >> 4) & 15] ^
         nibbleProducts_[2][(word >> 8) & 15] ^ nibbleProducts_[3][word >> 12];
}

void RegionMultiplier::MultiplyAdd(const uint8_t* in, uint8_t* out, size_t bytes) const {
  size_t i = 0;
  switch (path_) {
    case MultiplyPath::kTables:
      break;
    case MultiplyPath::kSsse3:
    case MultiplyPath::kAvx2:
      i = x86::NibbleMultiplyAdd(path_, nibbleLow_, nibbleHigh_, in, out, bytes);
      break;
    case MultiplyPath::kGfni:
      i = x86::AffineMultiplyAdd(matrices_, in, out, bytes);
      break;
  }
  // Whole blocks: eight words' low bytes in one load, their high bytes 32
  // further in another; their lookups are independent, so the
  // processor overlaps them.
  constexpr size_t kHalf = kLayoutBlock / 2;
  for (; i + kLayoutBlock <= bytes; i += kLayoutBlock) {
    for (size_t k = i; k < i + kHalf; k += 8) {
      uint64_t lowBytes;
      uint64_t highBytes;
      std::memcpy(&lowBytes, in + k, 8);
      std::memcpy(&highBytes, in + k + kHalf, 8);
      uint64_t productLow = 0;
      uint64_t productHigh = 0;
      for (int b = 0; b < 64; b += 8) {
        const uint64_t product =
            Times(static_cast<Gf16>(((lowBytes >> b) & 0xFF) | ((highBytes >> b) & 0xFF) << 8));
        productLow |= (product & 0xFF) << b;
        productHigh |= (product >> 8) << b;
      }
      uint64_t x;
      uint64_t y;
      std::memcpy(&x, out + k, 8);
      std::memcpy(&y, out + k + kHalf, 8);
      x ^= productLow;
      y ^= productHigh;
      std::memcpy(out + k, &x, 8);
      std::memcpy(out + k + kHalf, &y, 8);
    }
  }
  // The tail in the file's order.
  for (; i + 2 <= bytes; i += 2) {
    const Gf16 product = Times(static_cast<Gf16>(in[i] | in[i + 1] << 8));
    out[i] ^= static_cast<uint8_t>(product);
    out[i + 1] ^= static_cast<uint8_t>(product >> 8);
  }
}

}  // namespace vtq::recovery
