#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <thread>
#include <vector>

#include "base/libraries/crc32.h"
#include "base/libraries/gcrypt_start.h"

namespace vtq::base {
namespace {

std::span<const uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Known answers of the CRC-32 that PAR 2.0 and zlib share, and the same
// value reached in two parts from the first part's CRC.
TEST(Crc32, KnownAnswersWholeAndContinued) {
  const struct {
    std::string_view text;
    uint32_t crc;
  } cases[] = {
      {"", 0x00000000},
      {"a", 0xE8B7BE43},
      {"123456789", 0xCBF43926},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Crc32(BytesOf(c.text)), c.crc) << c.text;
    for (size_t cut = 0; cut <= c.text.size(); ++cut)
      EXPECT_EQ(Crc32(BytesOf(c.text.substr(cut)), Crc32(BytesOf(c.text.substr(0, cut)))), c.crc)
          << c.text << " cut at " << cut;
  }
}

TEST(GcryptStart, StartsOnceFromManyThreads) {
  std::vector<std::thread> threads;
  std::vector<char> started(8, 0);
  for (size_t i = 0; i < started.size(); ++i)
    threads.emplace_back([&started, i] { started[i] = StartGcrypt(); });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(started, std::vector<char>(8, 1));
  EXPECT_TRUE(StartGcrypt());
}

}  // namespace
}  // namespace vtq::base
