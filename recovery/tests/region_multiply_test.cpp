// The region multiply on every path this processor takes, each against the
// field's own word products (the log tables) and against the byte-table
// path: the working layout's byte places, regions of every length around
// the block and the tail, and the factors 0, 1 and random ones. The Windows
// builds run the same cases under Wine.

#include "recovery/region_multiply.h"

#include <gtest/gtest.h>

#include <random>

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t size, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(size);
  for (auto& b : bytes)
    b = static_cast<uint8_t>(byte(random));
  return bytes;
}

Gf16 WordAt(const Bytes& bytes, size_t i) {
  return static_cast<Gf16>(bytes[i] | bytes[i + 1] << 8);
}

TEST(RegionMultiply, TheTablesComeFirstAndTheFastestLast) {
  const std::vector<MultiplyPath> paths = AvailablePaths();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), MultiplyPath::kTables);
  EXPECT_EQ(paths.back(), FastestPath());
  EXPECT_TRUE(std::is_sorted(paths.begin(), paths.end()));
  for (const MultiplyPath path : paths)
    std::printf("region multiply path available: %s\n", PathName(path));
}

TEST(RegionMultiply, TheWorkingLayoutPutsLowBytesThenHighBytesInUnpackOrder) {
  // Word w of a block is the bytes (2w, 2w + 1); the low bytes of words
  // 0-7, 16-23, 8-15, 24-31 come first, the high bytes 32 further.
  const size_t order[32] = {0, 1, 2,  3,  4,  5,  6,  7,  16, 17, 18, 19, 20, 21, 22, 23,
                            8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31};
  Bytes file(2 * kLayoutBlock + 6);
  for (size_t i = 0; i < file.size(); ++i)
    file[i] = static_cast<uint8_t>(i * 7 + 3);
  for (const MultiplyPath path : AvailablePaths()) {
    Bytes data = file;
    ToWorkingLayout(data.data(), data.size(), path);
    for (size_t block = 0; block < 2; ++block) {
      for (size_t place = 0; place < 32; ++place) {
        const size_t word = block * 32 + order[place];
        EXPECT_EQ(data[block * 64 + place], file[2 * word]) << PathName(path) << " " << place;
        EXPECT_EQ(data[block * 64 + 32 + place], file[2 * word + 1]) << PathName(path);
      }
    }
    // The tail keeps the file's order.
    EXPECT_TRUE(std::equal(data.begin() + 128, data.end(), file.begin() + 128));
    FromWorkingLayout(data.data(), data.size(), path);
    EXPECT_EQ(data, file) << PathName(path);
  }
}

TEST(RegionMultiply, EveryPathAddsTheWordProductsOfTheLogTables) {
  std::mt19937 random(3);
  std::vector<Gf16> factors = {0, 1, 2, 0x8000, 0xBEEF, 0xFFFF};
  for (int n = 0; n < 6; ++n)
    factors.push_back(static_cast<Gf16>(random()));
  const size_t lengths[] = {2, 6, 62, 64, 66, 126, 128, 190, 1000, 4096, 4098 + 64 * 3};
  for (const size_t bytes : lengths) {
    const Bytes in = RandomBytes(bytes, random);
    const Bytes before = RandomBytes(bytes, random);
    for (const Gf16 factor : factors) {
      Bytes expected = before;
      for (size_t i = 0; i < bytes; i += 2) {
        const Gf16 sum = WordAt(before, i) ^ GfMultiply(factor, WordAt(in, i));
        expected[i] = static_cast<uint8_t>(sum);
        expected[i + 1] = static_cast<uint8_t>(sum >> 8);
      }
      Bytes byTables;
      for (const MultiplyPath path : AvailablePaths()) {
        Bytes working = in;
        Bytes out = before;
        ToWorkingLayout(working.data(), bytes, path);
        ToWorkingLayout(out.data(), bytes, path);
        const RegionMultiplier multiplier(factor, path);
        EXPECT_EQ(multiplier.Times(0x1234), GfMultiply(factor, 0x1234));
        multiplier.MultiplyAdd(working.data(), out.data(), bytes);
        FromWorkingLayout(out.data(), bytes, path);
        EXPECT_EQ(out, expected) << PathName(path) << ", " << bytes << " bytes, factor " << factor;
        if (path == MultiplyPath::kTables)
          byTables = out;
        EXPECT_EQ(out, byTables) << PathName(path);
      }
    }
  }
}

}  // namespace
}  // namespace vtq::recovery
