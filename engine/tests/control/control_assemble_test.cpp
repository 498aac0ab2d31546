// The control's build of the assembler: no passphrase, no verification, no
// deciphering. Linked with the program's engine instead, the first two cases
// fail: they expect the control's own messages and no question.

#include <gtest/gtest.h>

#include "engine/assembler.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/hand_series.h"

namespace vtq::test {
namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

class ControlAssemble : public ::testing::Test, protected AssemblerHarness {};

TEST_F(ControlAssemble, AnEncryptedSeriesIsRefusedAfterAWarningForEachHeaderRead) {
  HandHeader header;
  header.encrypted = true;
  header.count = 1;
  Add(WriteFragments(in / "notes.", {Concat(HandHeaderBytes(header), Text("ciphered"))}));
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 3u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Boxes()[i].title, "Feature unsupported");
    EXPECT_EQ(Boxes()[i].text,
              "Encryption / decryption unsupported in this version of ActiveVantrelloquin");
    EXPECT_EQ(Boxes()[i].Icon(), mb::kIconCritical);
  }
  EXPECT_EQ(Boxes()[2].title, "Decryption failed");
  EXPECT_EQ(Boxes()[2].text, "Feature unsupported in ActiveVantrelloquin");
  EXPECT_EQ(Boxes()[2].Icon(), mb::kIconCritical);
  EXPECT_FALSE(FileExists(out / "notes.txt"));
  EXPECT_EQ(assembler.CompletedSeries(), 0);
}

TEST_F(ControlAssemble, CheckDigitsAreDroppedUncheckedEvenOnADamagedFragment) {
  HandHeader header;
  header.checkable = true;
  header.count = 3;
  Add(WriteFragments(in / "notes.", {Concat(HandHeaderBytes(header), Text("first9999")),
                                     Text("second-damaged0000"), Text("last1234")}));
  assembler.Assemble();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ReadBytes(out / "notes.txt"), Text("firstsecond-damagedlast"));
}

TEST_F(ControlAssemble, CancellingADiskRequestDeletesThePartialOutput) {
  const Bytes data = PatternBytes(30000);
  const std::string first = WriteFragments(in / "notes.", OwnSeries(data, 10240));
  Add(first);
  SetDrive(first, DriveType::kRemovable);
  events.onDisk = [](int16_t disk, bool& cancel) { cancel = disk == 2; };
  assembler.Assemble();
  EXPECT_FALSE(FileExists(out / "notes.txt"));
  EXPECT_TRUE(NamesIn(out.Path()).empty());
}

}  // namespace
}  // namespace vtq::test
