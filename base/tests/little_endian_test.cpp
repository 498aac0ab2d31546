#include "base/little_endian.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vtq::base {
namespace {

using Bytes = std::vector<uint8_t>;

// Every field width written to each kind of target, and read back.
TEST(LittleEndianTest, FieldsLieLowByteFirstInEveryTarget) {
  const Bytes expected = {0x01, 0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF,
                          0xFF, 0x7F, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
  const auto write = [](LeWriter& out) {
    out.U8(1).U16(0x1234).I16(-2).U32(0x12345678).I32(0x7FFFFFFF).U64(0x0102030405060708);
  };
  Bytes vector;
  LeWriter toVector(vector);
  write(toVector);
  std::string string;
  LeWriter toString(string);
  write(toString);
  std::array<uint8_t, 21> array{};
  LeWriter toSpan{std::span<uint8_t>(array)};
  write(toSpan);
  EXPECT_EQ(vector, expected);
  EXPECT_EQ(Bytes(string.begin(), string.end()), expected);
  EXPECT_EQ(Bytes(array.begin(), array.end()), expected);
  EXPECT_FALSE(toSpan.Failed());
  EXPECT_EQ(toSpan.Position(), 21u);

  LeReader in(expected);
  EXPECT_EQ(in.U8(), 1);
  EXPECT_EQ(in.U16(), 0x1234);
  EXPECT_EQ(in.I16(), -2);
  EXPECT_EQ(in.U32(), 0x12345678u);
  EXPECT_EQ(in.I32(), 0x7FFFFFFF);
  EXPECT_EQ(in.U64(), 0x0102030405060708u);
  EXPECT_FALSE(in.Failed());
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(LittleEndianTest, BytesTextAndZerosAppendAsGiven) {
  Bytes out = {9};
  LeWriter(out).Text("ab").Bytes(Bytes{1, 2}).Zeros(19);
  Bytes expected = {9, 'a', 'b', 1, 2};
  expected.resize(24, 0);
  EXPECT_EQ(out, expected);
}

// A read past the end takes nothing, yields zero and fails the reader,
// wherever it starts and whatever comes after.
TEST(LittleEndianTest, ReadsNeverPassTheEnd) {
  const Bytes bytes = {1, 2, 3};
  struct Case {
    size_t start;
    int width;
    uint64_t value;
    size_t position;
    bool failed;
  };
  const Case cases[] = {
      {0, 2, 0x0201, 2, false}, {1, 2, 0x0302, 3, false}, {2, 2, 0, 2, true}, {0, 4, 0, 0, true},
      {3, 1, 0, 3, true},       {4, 1, 0, 3, true},       {9, 8, 0, 3, true},
  };
  for (const Case& c : cases) {
    LeReader in(bytes, c.start);
    const uint64_t value = c.width == 1   ? in.U8()
                           : c.width == 2 ? in.U16()
                           : c.width == 4 ? in.U32()
                                          : in.U64();
    EXPECT_EQ(value, c.value) << c.start << "/" << c.width;
    EXPECT_EQ(in.Position(), c.position) << c.start << "/" << c.width;
    EXPECT_EQ(in.Failed(), c.failed) << c.start << "/" << c.width;
  }
  LeReader in(bytes);
  EXPECT_TRUE(in.Bytes(4).empty());
  EXPECT_TRUE(in.Failed());
  EXPECT_EQ(in.U8(), 1);  // what fits still reads; the failure stays
  EXPECT_TRUE(in.Failed());
}

TEST(LittleEndianTest, SpanWriterStopsAtItsEnd) {
  std::array<uint8_t, 5> array{};
  LeWriter out{std::span<uint8_t>(array)};
  out.U32(0x04030201).U16(0xFFFF);
  EXPECT_TRUE(out.Failed());
  EXPECT_EQ(out.Position(), 4u);
  EXPECT_EQ(array, (std::array<uint8_t, 5>{1, 2, 3, 4, 0}));
}

}  // namespace
}  // namespace vtq::base
