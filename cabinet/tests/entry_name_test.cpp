#include "cabinet/entry_name.h"

#include <gtest/gtest.h>

namespace vtq::cabinet {
namespace {

TEST(EntryNameTest, PlainRelativeNamesAreSafe) {
  for (const char* name : {"readme.txt", "docs\\readme.txt", "a/b/c.bin", "cone.d\\x", "comx.txt",
                           "lpt", "..hidden", "a..b\\c", "caf\xE9.txt", "COM10", "COM\xB4"})
    EXPECT_EQ(UnsafeEntryReason(name), "") << name;
}

TEST(EntryNameTest, NamesClimbingOutAreRefused) {
  for (const char* name :
       {"..", "..\\evil.txt", "../evil.txt", "a\\..\\..\\evil", "a/../b", "x\\.."})
    EXPECT_EQ(UnsafeEntryReason(name), "it climbs out of the folder with \"..\"") << name;
}

TEST(EntryNameTest, DrivesAndRootsAreRefused) {
  EXPECT_EQ(UnsafeEntryReason("C:evil.txt"), "it names a drive");
  EXPECT_EQ(UnsafeEntryReason("c:\\windows\\evil.dll"), "it names a drive");
  EXPECT_EQ(UnsafeEntryReason("\\evil.txt"), "it starts at the root of a drive");
  EXPECT_EQ(UnsafeEntryReason("/etc/evil"), "it starts at the root of a drive");
  EXPECT_EQ(UnsafeEntryReason("\\\\server\\share\\evil"), "it starts at the root of a drive");
  EXPECT_EQ(UnsafeEntryReason("a\\b:stream"), "it holds a character no file name may hold");
}

TEST(EntryNameTest, DeviceNamesAreRefusedWithOrWithoutExtension) {
  for (const char* name : {"CON", "nul", "Aux.txt", "PRN.log", "COM1", "com9.dat", "LPT1",
                           "lpt3.txt", "docs\\NUL", "docs\\con .txt", "CONIN$", "lpt0",
                           // Superscript digits name ports too, in the code page and in UTF-8.
                           "COM\xB9", "lpt\xB2.txt", "COM\xC2\xB3", "docs\\LPT\xC2\xB9.log"})
    EXPECT_EQ(UnsafeEntryReason(name), "it names a device") << name;
}

TEST(EntryNameTest, EmptyAndOddNamesAreRefused) {
  EXPECT_EQ(UnsafeEntryReason(""), "it has no name");
  EXPECT_EQ(UnsafeEntryReason("a\\\\b"), "it has an empty folder name");
  EXPECT_EQ(UnsafeEntryReason("a\\"), "it has an empty folder name");
  EXPECT_EQ(UnsafeEntryReason(".\\a"), "it has an empty folder name");
  EXPECT_EQ(UnsafeEntryReason("a\x01"), "it holds a character no file name may hold");
  EXPECT_EQ(UnsafeEntryReason("what?.txt"), "it holds a character no file name may hold");
}

// Names outside ASCII are stored as UTF-8 and say so; ASCII ones keep the
// bits they always had.
TEST(EntryNameTest, NamesOutsideAsciiCarryTheUtf8Mark) {
  EXPECT_EQ(NameAttributes("docs\\readme.txt"), 0);
  EXPECT_EQ(NameAttributes(""), 0);
  EXPECT_EQ(NameAttributes("caf\xC3\xA9.txt"), kNameIsUtf8);
  EXPECT_EQ(NameAttributes("\xCE\xA9\\\xF0\x9F\x8E\x89.bin"), kNameIsUtf8);
  EXPECT_EQ(kNameIsUtf8, 0x80);
  EXPECT_EQ(UnsafeEntryReason("\xE5\x86\x99\xE7\x9C\x9F\\\xCE\xA9.txt"), "");
}
}  // namespace
}  // namespace vtq::cabinet
