// Properties the engine relies on: the weave is its own inverse at every
// length, a single changed byte spreads over the whole buffer, the key makes
// a difference, and the check value always fits 16 bits.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/libraries/crc32.h"
#include "kavrolib/tests/test_support.h"
#include "kavrolib/weave.h"

namespace kavro::test {
namespace {

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t n) {
  std::vector<uint8_t> data(n);
  for (auto& b : data)
    b = static_cast<uint8_t>(random());
  return data;
}

size_t EqualBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t same = 0;
  for (size_t i = 0; i < a.size(); ++i)
    same += a[i] == b[i];
  return same;
}

class WeaveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(DeriveMasterKey(Bytes(kPassphrase), key_)); }
  std::vector<uint8_t> Woven(std::vector<uint8_t> data) {
    EXPECT_TRUE(Weave(data, key_));
    return data;
  }
  MasterKey key_;
};

TEST_F(WeaveTest, TwiceRestoresEveryLengthUpTo300) {
  std::mt19937 random(20261208);
  for (size_t n = 0; n <= 300; ++n) {
    const std::vector<uint8_t> original = RandomBytes(random, n);
    const std::vector<uint8_t> once = Woven(original);
    if (n >= 8) {
      EXPECT_LT(EqualBytes(once, original), n / 4) << "length " << n << " left almost unchanged";
    }
    EXPECT_EQ(Woven(once), original) << "length " << n;
  }
}

TEST_F(WeaveTest, TwiceRestoresLargeBuffers) {
  std::mt19937 random(7);
  for (size_t n : {4096u, 65537u, 1457664u}) {
    const std::vector<uint8_t> original = RandomBytes(random, n);
    EXPECT_EQ(Woven(Woven(original)), original) << "length " << n;
  }
}

TEST_F(WeaveTest, OneChangedByteChangesNearlyTheWholeOutput) {
  std::mt19937 random(99);
  for (size_t n : {2u, 3u, 64u, 65u, 300u}) {
    const std::vector<uint8_t> original = RandomBytes(random, n);
    const std::vector<uint8_t> reference = Woven(original);
    for (size_t at = 0; at < n; ++at) {
      std::vector<uint8_t> changed = original;
      changed[at] ^= 0x01;
      const size_t same = EqualBytes(Woven(changed), reference);
      // Unrelated random bytes agree with probability 1/256 each.
      EXPECT_LE(same, n / 32 + 1) << "length " << n << ", byte " << at;
    }
  }
}

TEST_F(WeaveTest, AnotherPassphraseGivesAnotherOutput) {
  MasterKey other;
  ASSERT_TRUE(DeriveMasterKey(Bytes("Halvering Sealworthinesz"), other));
  std::vector<uint8_t> a = Pattern(1000);
  std::vector<uint8_t> b = a;
  ASSERT_TRUE(Weave(a, key_));
  ASSERT_TRUE(Weave(b, other));
  EXPECT_LE(EqualBytes(a, b), 1000u / 32);
}

TEST(KeyCache, DerivesOncePerPassphrase) {
  KeyCache cache;
  const MasterKey* first = cache.For(Bytes(kPassphrase));
  ASSERT_NE(first, nullptr);
  const auto firstBytes = first->bytes;
  EXPECT_EQ(cache.For(Bytes(kPassphrase))->bytes, firstBytes);
  const MasterKey* other = cache.For(Bytes("another"));
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other->bytes, firstBytes);
  MasterKey direct;
  ASSERT_TRUE(DeriveMasterKey(Bytes("another"), direct));
  EXPECT_EQ(other->bytes, direct.bytes);
}

TEST(KeyCache, EmptyPassphraseIsAValidKey) {
  KeyCache cache;
  EXPECT_NE(cache.For({}), nullptr);
}

TEST(Getcheck, StaysWithin16BitsOnRandomBuffers) {
  std::mt19937 random(5);
  int32_t lowest = 0, highest = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::vector<uint8_t> data = RandomBytes(random, random() % 200);
    const int32_t c = Getcheck(data);
    lowest = std::min(lowest, c);
    highest = std::max(highest, c);
  }
  EXPECT_GE(lowest, -32768);
  EXPECT_LE(highest, 32767);
  // Both signs occur: the fold is sign-extended, not zero-extended.
  EXPECT_LT(lowest, -16000);
  EXPECT_GT(highest, 16000);
}

TEST(Getcheck, FastCrc32IsZlibs) {
  std::mt19937 random(11);
  for (size_t n : {0u, 1u, 3u, 15u, 16u, 17u, 63u, 64u, 65u, 255u, 4096u, 100003u, 1457664u}) {
    const std::vector<uint8_t> data = RandomBytes(random, n);
    EXPECT_EQ(Crc32(data), vtq::base::Crc32(data)) << "length " << n;
  }
  // Unaligned starts and tails.
  const std::vector<uint8_t> data = RandomBytes(random, 300);
  for (size_t from = 0; from < 20; ++from) {
    const std::span<const uint8_t> part = std::span(data).subspan(from, 300 - 2 * from);
    EXPECT_EQ(Crc32(part), vtq::base::Crc32(part)) << "from " << from;
  }
}

}  // namespace
}  // namespace kavro::test
