// The splitter's property rules, its sizing and its disk-space rules.

#include "engine/splitter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/error.h"
#include "engine/path.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

using test::RecordingSplitterEvents;

class SplitterTest : public ::testing::Test, protected test::SplitterHarness {
 protected:
  std::string Source(const std::string& name, size_t size) {
    const std::string full = dir / name;
    test::WriteBytes(full, test::PatternBytes(size));
    EXPECT_EQ(splitter.FilesToSplit().Add(full), 0);
    return full;
  }
};

TEST_F(SplitterTest, StartsWithTheDocumentedState) {
  EXPECT_EQ(splitter.FileFormat(), aftQuorvelle);
  EXPECT_EQ(splitter.FragmentSize(), 1457664);
  EXPECT_EQ(splitter.FragmentSizeAtStart(), 1457664);
  EXPECT_FALSE(splitter.DifferentSizeAtStart());
  EXPECT_EQ(splitter.EncryptionKey(), "Halvering Sealworthiness");
  EXPECT_FALSE(splitter.UseEncryption());
  EXPECT_FALSE(splitter.CheckabilityEnabled());
  EXPECT_EQ(splitter.RegenerateFragment(), 0);
  EXPECT_EQ(splitter.DestinationFolder(), "");
  EXPECT_EQ(&splitter.FilesToSplit(), &splitter.FilesToSplit());
}

TEST_F(SplitterTest, SizesAreClampedIntoTheCallersVariable) {
  int32_t v = 5000;
  splitter.SetFragmentSize(v);
  EXPECT_EQ(v, 10240);
  EXPECT_EQ(splitter.FragmentSize(), 10240);
  v = 200000000;
  splitter.SetFragmentSize(v);
  EXPECT_EQ(v, 104857600);
  EXPECT_EQ(splitter.FragmentSize(), 104857600);
  v = -7;
  splitter.SetFragmentSizeAtStart(v);
  EXPECT_EQ(v, 10240);
  EXPECT_EQ(splitter.FragmentSizeAtStart(), 10240);
  v = 104857601;
  splitter.SetFragmentSizeAtStart(v);
  EXPECT_EQ(v, 104857600);
}

TEST_F(SplitterTest, FragmentSizeCarriesTheFirstSizeUntilMultisize) {
  int32_t v = 730112;
  splitter.SetFragmentSize(v);
  EXPECT_EQ(splitter.FragmentSizeAtStart(), 730112);
  v = 20000;
  splitter.SetFragmentSizeAtStart(v);
  v = 1457664;
  splitter.SetFragmentSize(v);
  EXPECT_EQ(splitter.FragmentSizeAtStart(), 20000);
}

TEST_F(SplitterTest, FirstSizeRaisesTheFlagChangeOnceAndBeforeTheFlag) {
  struct FlagWatcher : SplitterEvents {
    ActiveSplitter* s = nullptr;
    std::vector<std::pair<bool, bool>> seen;  // (argument, flag at the time)
    void MultisizeFlagChange(bool m) override { seen.emplace_back(m, s->DifferentSizeAtStart()); }
  } watcher;
  ActiveSplitter watched(globals, watcher);
  watcher.s = &watched;
  int32_t v = 20000;
  watched.SetFragmentSizeAtStart(v);
  v = 30000;
  watched.SetFragmentSizeAtStart(v);
  ASSERT_EQ(watcher.seen.size(), 1u);
  EXPECT_TRUE(watcher.seen[0].first);
  EXPECT_FALSE(watcher.seen[0].second);  // raised first, stored after
  EXPECT_TRUE(watched.DifferentSizeAtStart());
  EXPECT_EQ(watched.FragmentSizeAtStart(), 30000);
}

TEST_F(SplitterTest, DifferentSizeAtStartOffResetsAndReportsOnlyAChange) {
  splitter.SetDifferentSizeAtStart(false);
  EXPECT_TRUE(events.log.empty());
  int32_t v = 20000;
  splitter.SetFragmentSizeAtStart(v);
  splitter.SetDifferentSizeAtStart(false);
  EXPECT_EQ(splitter.FragmentSizeAtStart(), splitter.FragmentSize());
  EXPECT_FALSE(splitter.DifferentSizeAtStart());
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"MultisizeFlagChange(true)", "MultisizeFlagChange(false)"}));
  splitter.SetDifferentSizeAtStart(true);
  EXPECT_TRUE(splitter.DifferentSizeAtStart());
  EXPECT_EQ(events.log.back(), "MultisizeFlagChange(true)");
}

TEST_F(SplitterTest, TheOlderFormatRefusesAFirstSizeOfItsOwnButNotTheSizeLet) {
  splitter.SetFileFormat(aftBrannock);
  splitter.SetDifferentSizeAtStart(true);
  EXPECT_FALSE(splitter.DifferentSizeAtStart());
  EXPECT_TRUE(events.log.empty());
  int32_t v = 20000;
  splitter.SetFragmentSizeAtStart(v);
  EXPECT_TRUE(splitter.DifferentSizeAtStart());
}

TEST_F(SplitterTest, FormatsOutsideTheEnumerationBecomeRaw) {
  splitter.SetFileFormat(7);
  EXPECT_EQ(splitter.FileFormat(), aftRaw);
  splitter.SetFileFormat(3);
  EXPECT_EQ(splitter.FileFormat(), aftRaw);
  splitter.SetFileFormat(-1);
  EXPECT_EQ(splitter.FileFormat(), aftRaw);
  splitter.SetFileFormat(2);
  EXPECT_EQ(splitter.FileFormat(), aftBrannock);
}

TEST_F(SplitterTest, EncryptionFollowsTheKey) {
  splitter.SetEncryptionKey("");
  EXPECT_FALSE(splitter.UseEncryption());
  splitter.SetUseEncryption(true);
  EXPECT_FALSE(splitter.UseEncryption());
  splitter.SetEncryptionKey("secret");
  EXPECT_TRUE(splitter.UseEncryption());
  splitter.SetUseEncryption(false);
  EXPECT_FALSE(splitter.UseEncryption());
  EXPECT_EQ(splitter.EncryptionKey(), "secret");
}

TEST_F(SplitterTest, DestinationAlwaysEndsInTheSeparator) {
  splitter.SetDestinationFolder("out");
  EXPECT_EQ(splitter.DestinationFolder(), std::string("out") + kPathSeparator);
  splitter.SetDestinationFolder(std::string("out") + kPathSeparator);
  EXPECT_EQ(splitter.DestinationFolder(), std::string("out") + kPathSeparator);
  splitter.SetDestinationFolder("");
  EXPECT_EQ(splitter.DestinationFolder(), std::string(1, kPathSeparator));
}

TEST_F(SplitterTest, HeaderTextLengthsPerFormat) {
  Source("notes.txt", 10);
  EXPECT_EQ(splitter.HeaderText(1, false).size(), 9u + 64u);
  EXPECT_EQ(splitter.HeaderText("notes.txt", true).size(), 9u + 64u);
  splitter.SetEncryptionKey("k");
  EXPECT_EQ(splitter.HeaderText(1, false).size(), 9u + kEncryptionNotice.size() + 72u);
  splitter.SetFileFormat(aftBrannock);
  EXPECT_EQ(splitter.HeaderText(1, false), std::string("notes.txt") + char{27});
  splitter.SetFileFormat(aftRaw);
  EXPECT_EQ(splitter.HeaderText(1, false), "");
}

TEST_F(SplitterTest, FragsNeededCountsWithAndWithoutCheckDigits) {
  splitter.SetFileFormat(aftRaw);
  Source("big.bin", 3000000);
  EXPECT_EQ(splitter.FragsNeeded(1), 3);
  splitter.SetCheckabilityEnabled(true);
  EXPECT_EQ(splitter.DataSize(), 1457660);
  EXPECT_EQ(splitter.FragsNeeded(1), 3);
}

TEST_F(SplitterTest, FragsNeededAtTheFirstFragmentsEdge) {
  const int32_t prefix = 8 + 64;  // data.bin in the own format
  Source("data.bin", static_cast<size_t>(splitter.FirstDataSize() - prefix));
  EXPECT_EQ(splitter.FragsNeeded(1), 1);
  test::WriteBytes(dir / "data.bin", test::PatternBytes(splitter.FirstDataSize() - prefix + 1));
  EXPECT_EQ(splitter.FragsNeeded(1), 2);
  test::WriteBytes(dir / "data.bin",
                   test::PatternBytes(splitter.FirstDataSize() - prefix + splitter.DataSize()));
  EXPECT_EQ(splitter.FragsNeeded(1), 2);
  test::WriteBytes(dir / "data.bin", {});
  EXPECT_EQ(splitter.FragsNeeded(1), 1);
}

TEST_F(SplitterTest, FragsNeededOverflowsBeyond32767) {
  splitter.SetFileFormat(aftRaw);
  SetFragmentSize(10240);
  const std::string name = Source("sparse.bin", 0);
  std::filesystem::resize_file(name, uint64_t{32767} * 10240);
  EXPECT_EQ(splitter.FragsNeeded(1), 32767);
  std::filesystem::resize_file(name, uint64_t{32767} * 10240 + 1);
  try {
    splitter.FragsNeeded(1);
    FAIL() << "no overflow";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), err::kOverflow);
  }
}

TEST_F(SplitterTest, FragsNeededOfAMissingEntryOrFileFails) {
  EXPECT_THROW(splitter.FragsNeeded(1), VbError);
  const std::string name = Source("gone.bin", 10);
  std::filesystem::remove(name);
  try {
    splitter.FragsNeeded(1);
    FAIL() << "no error";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), err::kFileNotFound);
  }
}

// Drive rules on fake drives: the measured drive comes from the Drive text,
// the rule from the destination folder.
class DiskSpaceTest : public SplitterTest {
 protected:
  void SetUp() override {
    splitter.SetFileFormat(aftRaw);
    SetFragmentSize(10240);
    Source("x.bin", 25000);  // 3 fragments of 10,240
#ifdef _WIN32
    measured = "C:\\temp";
    destination = "A:\\";
#else
    measured = "/media/c/temp";
    destination = "/media/a/";
#endif
    splitter.SetDestinationFolder(destination);
  }
  test::FakeDrives::Drive& Measured() {
    return doubles.fakeDrives.drives[DriveRoot(measured)];
  }
  void DestinationType(DriveType type) {
    doubles.fakeDrives.drives[DriveRoot(destination)].type = type;
  }
  static ClusterFigures Capacity(uint32_t clusters) {
    return {1, 512, 0, clusters};
  }
  std::string measured;
  std::string destination;
};

TEST_F(DiskSpaceTest, FixedDestinationNeedsTheWholeSourceFree) {
  DestinationType(DriveType::kFixed);
  Measured().freeBytes = 25000;
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1));
  Measured().freeBytes = 24999;
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1));
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1, true));
}

TEST_F(DiskSpaceTest, RemovableDestinationCountsOneFormattedDiskPerFragment) {
  DestinationType(DriveType::kRemovable);
  Measured().freeBytes = 0;
  Measured().clusters = Capacity(17);  // 8,704 bytes x 3 disks >= 25,000
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1));
  Measured().clusters = Capacity(16);  // 8,192 x 3 < 25,000
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1));
  Measured().freeBytes = 8334;  // x 3 = 25,002
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1, true));
  Measured().freeBytes = 8333;
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1, true));
}

TEST_F(DiskSpaceTest, ARemovableDiskWhoseCapacityOverflowsIsJudgedByItsFreeSpace) {
  DestinationType(DriveType::kRemovable);
  // 64 x 512 x 65,536 clusters: the 32-bit capacity overflows and reads 0.
  Measured().clusters = ClusterFigures{64, 512, 65536, 65536};
  Measured().freeBytes = 8334;  // x 3 fragments = 25,002 >= 25,000
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1));
  Measured().freeBytes = 8333;
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1));
  Measured().clusters.reset();  // no disk at all: still no room
  Measured().freeBytes.reset();
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1));
}

TEST_F(DiskSpaceTest, TheHeaderCountsButCheckDigitsDoNot) {
  splitter.SetFileFormat(aftQuorvelle);  // prefix 5 + 64
  splitter.SetCheckabilityEnabled(true);
  DestinationType(DriveType::kFixed);
  Measured().freeBytes = 25069;
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1));
  Measured().freeBytes = 25068;
  EXPECT_FALSE(splitter.EnoughDiskSpace(measured, 1));
}

TEST_F(DiskSpaceTest, ACdRomDestinationWarnsAtEveryCallAndCountsAsFixed) {
  DestinationType(DriveType::kCdRom);
  Measured().freeBytes = 25000;
  Measured().clusters = Capacity(0);
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1));
  EXPECT_TRUE(splitter.EnoughDiskSpace(measured, 1, true));
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  for (const auto& box : doubles.boxes.shown) {
    EXPECT_EQ(box.title, "CDROM Warning");
    EXPECT_EQ(box.Icon(), mb::kIconExclamation);
  }
}

#ifdef _WIN32
TEST_F(DiskSpaceTest, OnlyTheFirstLetterOfTheDriveTextCounts) {
  DestinationType(DriveType::kFixed);
  doubles.fakeDrives.drives["C:\\"].freeBytes = 25000;
  EXPECT_TRUE(splitter.EnoughDiskSpace("c:\\some\\where", 1));
  EXPECT_TRUE(splitter.EnoughDiskSpace("C", 1));
}
#endif

TEST_F(SplitterTest, BatGenerationIsForRawSeriesOnly) {
  Source("report.doc", 3000000);
  EXPECT_FALSE(splitter.BatGen_Available());
  const std::string text = splitter.BatGen_String(1);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "BAT Unavailable");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "BAT Generation unavailable for selected options. The BAT file will not be "
            "generated.");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconExclamation);
  EXPECT_NE(text.find("report.003"), std::string::npos);  // built anyway
  splitter.SetFileFormat(aftRaw);
  EXPECT_TRUE(splitter.BatGen_Available());
  EXPECT_NE(splitter.BatGen_String(1).find("\"report.001\" + \"report.002\" + \"report.003\""),
            std::string::npos);
  EXPECT_EQ(doubles.boxes.shown.size(), 1u);
}

#ifndef _WIN32
// Windows names cannot hold these characters; the native build's can.
TEST_F(SplitterTest, BatGenerationRefusesANameABatchLineCannotCarry) {
  splitter.SetFileFormat(aftRaw);
  Source("NUL\" mkdir INJECTED1 & rem .bin", 30000);
  Source("b\nmkdir INJECTED2\n.bin", 30000);
  EXPECT_EQ(splitter.BatGen_String(1), "");
  EXPECT_EQ(splitter.BatGen_String(2), "");
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "BAT Unavailable");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "BAT Generation unavailable for NUL\" mkdir INJECTED1 & rem .bin: its name holds the "
            "double quote \", which a batch file cannot carry safely. The BAT file will not be "
            "generated.");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconExclamation);
  EXPECT_EQ(doubles.boxes.shown[1].text,
            "BAT Generation unavailable for b\\nmkdir INJECTED2\\n.bin: its name holds the "
            "control character \\n, which a batch file cannot carry safely. The BAT file will not "
            "be generated.");
}
#endif

}  // namespace
}  // namespace vtq
