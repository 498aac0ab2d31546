#include "cabinet/block_check.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace vtq::cabinet {
namespace {

std::string Le16(uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string Le32(uint32_t v) {
  return Le16(v & 0xFFFF) + Le16(v >> 16);
}

// One folder, one stored block holding `data`, no files: enough for the walk.
std::string OneBlockCabinet(const std::string& data, uint32_t checksum) {
  std::string bytes = "MSCF" + Le32(0) + Le32(0) + Le32(0) + Le32(44) + Le32(0) + "\x03\x01" +
                      Le16(1) + Le16(0) + Le16(0) + Le16(0) + Le16(0);
  bytes += Le32(44) + Le16(1) + Le16(0);
  bytes += Le32(checksum) + Le16(static_cast<uint32_t>(data.size())) +
           Le16(static_cast<uint32_t>(data.size())) + data;
  return bytes;
}

bool Check(const std::string& bytes) {
  std::istringstream in(bytes);
  return BlocksMatchChecksums(in);
}

TEST(BlockCheckTest, ChecksumXorsWordsAndTakesTheTailHighByteFirst) {
  const unsigned char abcd[] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(CabChecksum(abcd, 4, 0), 0x64636261u);
  const unsigned char abcdefg[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g'};
  EXPECT_EQ(CabChecksum(abcdefg, 7, 0), 0x64636261u ^ 0x00656667u);
  EXPECT_EQ(CabChecksum(abcdefg, 5, 0x10), 0x64636261u ^ 0x65u ^ 0x10u);
  EXPECT_EQ(CabChecksum(abcdefg, 6, 0), 0x64636261u ^ 0x6566u);
}

TEST(BlockCheckTest, BlockWithItsChecksumPasses) {
  // data "abcd", then the sizes 4 and 4 as one word 0x00040004.
  EXPECT_TRUE(Check(OneBlockCabinet("abcd", 0x64636261u ^ 0x00040004u)));
  EXPECT_TRUE(Check(OneBlockCabinet("abcd", 0)));  // no checksum kept
}

TEST(BlockCheckTest, DamagedBlockOrHeaderFails) {
  EXPECT_FALSE(Check(OneBlockCabinet("abce", 0x64636261u ^ 0x00040004u)));
  EXPECT_FALSE(Check("MSCF"));
}

// `folders` folders, each naming the blocks from `firstBlocks[i]` on, and
// `blocks` empty stored blocks without checksums after the folder entries.
std::string ManyFolders(size_t folders, uint16_t blocksEach, size_t blocks,
                        const std::vector<uint32_t>& firstBlocks) {
  const uint32_t dataStart = 36 + 8 * static_cast<uint32_t>(folders);
  std::string bytes = "MSCF" + Le32(0) + Le32(0) + Le32(0) + Le32(dataStart) + Le32(0) +
                      "\x03\x01" + Le16(static_cast<uint32_t>(folders)) + Le16(0) + Le16(0) +
                      Le16(0) + Le16(0);
  for (size_t f = 0; f < folders; ++f)
    bytes += Le32(dataStart + firstBlocks[f % firstBlocks.size()]) + Le16(blocksEach) + Le16(0);
  for (size_t b = 0; b < blocks; ++b)
    bytes += Le32(0) + Le16(0) + Le16(0);
  return bytes;
}

TEST(BlockCheckTest, FoldersThatShareBlocksAreDamageAndEveryBlockIsReadOnce) {
  // 65,535 folders naming the same 65,535 blocks: read once per folder,
  // they would be read four billion times.
  EXPECT_FALSE(Check(ManyFolders(65535, 65535, 65535, {0})));
  // A folder starting inside the one before, whatever the order of entries.
  EXPECT_FALSE(Check(ManyFolders(2, 2, 4, {8, 0})));
  // Folders one after the other, listed in any order, are sound.
  EXPECT_TRUE(Check(ManyFolders(3, 2, 6, {32, 0, 16})));
  std::vector<uint32_t> ownBlocks;
  for (uint32_t f = 0; f < 65535; ++f)
    ownBlocks.push_back(8 * f);
  EXPECT_TRUE(Check(ManyFolders(65535, 1, 65535, ownBlocks)));
}

TEST(BlockCheckTest, CabinetCutShortIsLeftToTheReader) {
  std::string bytes = OneBlockCabinet("abcd", 0x64636261u ^ 0x00040004u);
  bytes.resize(bytes.size() - 2);
  EXPECT_TRUE(Check(bytes));
}

}  // namespace
}  // namespace vtq::cabinet
