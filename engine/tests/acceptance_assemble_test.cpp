// The assemble run as an outside tester sees it: how often a run reads the
// first fragment's format, which drive questions it asks, and what each way
// of recognising a first fragment does to the output.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/program/protection.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/hand_series.h"

namespace vtq::test {
namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

class AcceptanceAssemble : public ::testing::Test, protected AssemblerHarness {
 protected:
  std::string AddSeries(const std::string& stem, const std::vector<Bytes>& fragments) {
    const std::string first = WriteFragments(in / stem, fragments);
    Add(first);
    return first;
  }
  size_t BoxesWithText(const std::string& text) const {
    return static_cast<size_t>(
        std::count_if(doubles.boxes.shown.begin(), doubles.boxes.shown.end(),
                      [&](const ShownBox& box) { return box.text == text; }));
  }
};

// The run asks the format of fragment 1 through the count, the format itself,
// the foreign header, the undeterminable-count rule and the assembled name:
// five readings, each of which meets the old-format text again.
TEST_F(AcceptanceAssemble, AnOldOwnFormatFirstFragmentIsReportedAtEveryFormatReading) {
  const Bytes first = Concat(Text("Quorvelle something old"), PatternBytes(200));
  AddSeries("old.", {first, PatternBytes(50, 3)});
  assembler.Assemble();
  EXPECT_EQ(BoxesWithText("Old Quorvelle file"), 5u);
  EXPECT_EQ(Boxes().size(), 5u);
  for (const ShownBox& box : Boxes()) {
    EXPECT_EQ(box.title, "Format unsupported");
    EXPECT_EQ(box.Icon(), mb::kIconCritical);
  }
  // Then it is joined as unformatted data, nothing stripped.
  EXPECT_EQ(ReadBytes(out / "old.Unk"), Concat(first, PatternBytes(50, 3)));
}

TEST_F(AcceptanceAssemble, AnOlderVersionHeaderIsNamedAsSuchAtEveryFormatReading) {
  const Bytes first = Concat(Text("Quorvelle Fragment 1.0"), PatternBytes(20));
  AddSeries("ver.", {first});
  assembler.Assemble();
  EXPECT_EQ(BoxesWithText("Old version of Quorvelle fragment format"), 5u);
  EXPECT_EQ(BoxesWithText("Old Quorvelle file"), 0u);
  EXPECT_EQ(ReadBytes(out / "ver.Unk"), first);
}

// A fragment with a name-and-escape prefix keeps it while unknowns are joined
// as unformatted data.
TEST_F(AcceptanceAssemble, ANameAndEscapePrefixStaysInTheDataWhileUnknownsAreRaw) {
  const Bytes first = Concat(Text("old.txt\x1b"), PatternBytes(40));
  AddSeries("prefix.", {first, PatternBytes(30, 9)});
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "prefix.Unk"), Concat(first, PatternBytes(30, 9)));
  EXPECT_FALSE(FileExists(out / "old.txt"));
}

// Only a lone fragment taken as unformatted has an undeterminable count.
TEST_F(AcceptanceAssemble, ALoneForeignFragmentOnARemovableDiskJoinsWhenUnknownsAreNameAndEscape) {
  const std::string first = AddSeries("lone.", {Concat(Text("lone.txt\x1b"), PatternBytes(40))});
  SetDrive(first, DriveType::kRemovable);
  assembler.FormatForUnknowns(aftBrannock);
  assembler.Assemble();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ReadBytes(out / "lone.txt"), PatternBytes(40));

  assembler.FormatForUnknowns(aftRaw);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Unable to determine number of fragments");
  EXPECT_FALSE(FileExists(out / "lone.Unk"));
}

TEST_F(AcceptanceAssemble, ALoneOwnFormatFragmentOnARemovableDiskIsJoined) {
  const std::string first = AddSeries("notes.", OwnSeries(PatternBytes(500), 10240));
  SetDrive(first, DriveType::kRemovable);
  assembler.Assemble();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 1", "interval 1"}));
  EXPECT_EQ(ReadBytes(out / "notes.txt"), PatternBytes(500));
}

// The drive is asked once before fragment 1, once after every fragment, and
// again before every repeated disk request.
TEST_F(AcceptanceAssemble, TheDriveIsAskedAgainBeforeEveryRepeatedDiskRequest) {
  const Bytes data = PatternBytes(30000);
  const std::vector<Bytes> pieces = OwnSeries(data, 10240);
  const std::string first = AddSeries("notes.", pieces);
  SetDrive(first, DriveType::kRemovable);
  RemoveFile(in / "notes.002");
  int asked = 0;
  events.onDisk = [&](int16_t disk, bool&) {
    if (disk == 2 && ++asked == 3)
      WriteBytes(in / "notes.002", pieces[1]);
  };
  doubles.fakeDrives.typeQueries.clear();
  assembler.Assemble();
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 3", "interval 1", "disk 2", "disk 2",
                                                  "disk 2", "interval 2", "disk 3", "interval 3"}));
  // 1 before fragment 1, 3 around the three requests for disk 2, 1 after
  // fragment 2 and 1 after fragment 3.
  EXPECT_EQ(doubles.fakeDrives.typeQueries.size(), 6u);
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(AcceptanceAssemble, RefusingFragment1KeepsAnEmptyOutputAndRaisesTheCheckabilityError) {
  Kavrolib library;
  HandHeader header;
  header.name = "bad.bin";
  header.checkable = true;
  Bytes piece = PatternBytes(100);
  const std::string digits = CheckDigitsOf(library, piece);
  piece = Concat(piece, Text(digits));
  piece[0] ^= 0x11;
  AddSeries("bad.", {Concat(HandHeaderBytes(header), piece)});
  doubles.boxes.Answer(mb::kIdNo);
  try {
    assembler.Assemble();
    FAIL() << "the refusal must raise";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), -2147219503);
    EXPECT_EQ(error.Source(), "ActiveAssembler");
  }
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Warning");
  EXPECT_EQ(Boxes()[0].text,
            "The checkability verification on fragment 1 failed indicating that the fragment is "
            "probably corrupted. Are you sure you wish to continue?");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconExclamation);
  EXPECT_EQ(Boxes()[0].Buttons(), mb::kYesNo);
  // Kept, but not under the name of a finished file.
  EXPECT_FALSE(FileExists(out / "bad.bin"));
  EXPECT_TRUE(ReadBytes(out / "bad.bin.partial").empty());
  EXPECT_EQ(assembler.KeptPartials(), std::vector<std::string>{out / "bad.bin.partial"});
}

// The header warnings come with every header read of the run: the count and
// the assembled name, and the passphrase test of an encrypted series.
TEST_F(AcceptanceAssemble, HeaderWarningsAppearAtEveryHeaderReadOfTheRunAndDoNotStopIt) {
  Kavrolib library;
  HandHeader header;
  header.name = "flags.bin";
  header.reserved = true;
  header.encodable = true;
  header.encrypted = true;
  header.keyCheck = KeyCheck(library, "open sesame");
  Bytes data = PatternBytes(500);
  library.Qweave(data, "open sesame");
  AddSeries("flags.", {Concat(HandHeaderBytes(header), data)});
  assembler.DecryptionKey("open sesame");
  assembler.Assemble();
  const std::string reserved =
      "Reserved feature unsupported - the fragments may not assemble correctly";
  const std::string encodable =
      "Encodability unsupported - the fragments may not assemble correctly";
  ASSERT_EQ(Boxes().size(), 6u);
  for (size_t i = 0; i < Boxes().size(); ++i) {
    EXPECT_EQ(Boxes()[i].text, i % 2 == 0 ? reserved : encodable);
    EXPECT_EQ(Boxes()[i].title, "Feature unsupported - you may wish to upgrade");
    EXPECT_EQ(Boxes()[i].Icon(), mb::kIconExclamation);
  }
  EXPECT_EQ(ReadBytes(out / "flags.bin"), PatternBytes(500));
}

// A refused series does not stop the next one, whose disk questions are
// still those of the list's first entry.
TEST_F(AcceptanceAssemble, AfterARefusedLoneFragmentTheNextSeriesRunsWithTheFirstEntrysDisk) {
  const std::string lone = AddSeries("lone.", {PatternBytes(10)});
  AddSeries("notes.", OwnSeries(PatternBytes(30000), 10240));
  SetDrive(lone, DriveType::kRemovable);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Unable to determine number of fragments");
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 1", "start 3", "interval 1", "disk 2",
                                                  "interval 2", "disk 3", "interval 3"}));
  EXPECT_EQ(ReadBytes(out / "notes.txt"), PatternBytes(30000));
  EXPECT_EQ(assembler.CompletedSeries(), 1);
}

// A source without "." gives fragments 001, 002, ...; they are looked for
// beside the first one and assembled as Unk.
TEST_F(AcceptanceAssemble, ASeriesWithoutAStemIsFoundBesideItsFirstFragment) {
  const std::string first = AddSeries("", {PatternBytes(10240, 2), PatternBytes(99, 4)});
  EXPECT_EQ(assembler.FragmentCount(first), 2);
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "Unk"), Concat(PatternBytes(10240, 2), PatternBytes(99, 4)));
}

}  // namespace
}  // namespace vtq::test
