#include "cabinet/empty_files_cabinet.h"

#include <gtest/gtest.h>

namespace vtq::cabinet {
namespace {

TEST(EmptyFilesCabinetTest, LaysOutHeaderFolderAndFileTable) {
  const std::string bytes =
      EmptyFilesCabinet({{"a.txt", 0x5A21, 0x6000, 0x20}, {"sub\\b", 0x21, 0, 0}}, 0x1234);
  const std::string expected =
      std::string("MSCF\0\0\0\0", 8) + std::string("\x58\0\0\0", 4) +  // 88 bytes in all
      std::string("\0\0\0\0", 4) + std::string("\x2C\0\0\0", 4) +      // file table at 44
      std::string("\0\0\0\0", 4) + std::string("\x03\x01\x01\0\x02\0\0\0\x34\x12\0\0", 12) +
      std::string("\x58\0\0\0\0\0\0\0", 8) +  // no data blocks
      std::string("\0\0\0\0\0\0\0\0\0\0\x21\x5A\0\x60\x20\0a.txt\0", 22) +
      std::string("\0\0\0\0\0\0\0\0\0\0\x21\0\0\0\0\0sub\\b\0", 22);
  EXPECT_EQ(bytes, expected);
}

TEST(EmptyFilesCabinetTest, NoEntriesStillMakesAWholeHeader) {
  const std::string bytes = EmptyFilesCabinet({}, 0);
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 44u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[36]), 44u);
}

TEST(EmptyFilesCabinetTest, AUtf8NameIsMarkedAsOne) {
  const std::string bytes = EmptyFilesCabinet({{"\xCE\xA9", 0x21, 0, 0x20}}, 1);
  // The attributes of the only entry: its own 0x20 and the UTF-8 mark 0x80.
  EXPECT_EQ(bytes.substr(44 + 14, 2), std::string("\xA0\0", 2));
  EXPECT_EQ(bytes.substr(44 + 16), std::string("\xCE\xA9\0", 3));
}
}  // namespace
}  // namespace vtq::cabinet
