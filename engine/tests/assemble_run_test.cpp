// The assemble run over hand-built series: what it writes, what it asks,
// and what every early end leaves behind.

#include <gtest/gtest.h>

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/program/protection.h"
#include "engine/stored_name.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/hand_series.h"

namespace vtq::test {
namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes WithCheckDigits(Kavrolib& library, const Bytes& data) {
  const std::string digits = CheckDigitsOf(library, data);
  return Concat(data, Text(digits));
}

class AssembleRun : public ::testing::Test, protected AssemblerHarness {
 protected:
  // A checkable own-format series of `data` in pieces of `size` data bytes.
  std::vector<Bytes> CheckableSeries(const Bytes& data, size_t size, const std::string& name,
                                     const std::string& passphrase = {}) {
    HandHeader header;
    header.name = name;
    header.checkable = true;
    header.encrypted = !passphrase.empty();
    if (header.encrypted)
      header.keyCheck = KeyCheck(library, passphrase);
    std::vector<Bytes> pieces = Pieces(data, size);
    header.count = static_cast<int16_t>(pieces.size());
    for (Bytes& piece : pieces) {
      if (header.encrypted)
        library.Qweave(piece, passphrase);
      piece = WithCheckDigits(library, piece);
    }
    pieces[0] = Concat(HandHeaderBytes(header), pieces[0]);
    return pieces;
  }
  std::string AddSeries(const std::string& stem, const std::vector<Bytes>& fragments) {
    const std::string first = WriteFragments(in / stem, fragments);
    Add(first);
    return first;
  }
  Kavrolib library;
};

TEST_F(AssembleRun, JoinsAnOwnFormatSeriesUnderItsStoredName) {
  const Bytes data = PatternBytes(25000);
  AddSeries("notes.", OwnSeries(data, 10240));
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"start 3", "interval 1", "interval 2", "interval 3"}));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(NamesIn(out.Path()), std::vector<std::string>{"notes.txt"});
}

TEST_F(AssembleRun, EmptyAndOneFragmentSources) {
  AddSeries("empty.", OwnSeries({}, 10240, "empty.dat"));
  AddSeries("one.", OwnSeries(PatternBytes(100), 10240, "one.dat"));
  AddSeries("raw.", {Bytes{}});
  assembler.Assemble();
  EXPECT_TRUE(ReadBytes(out / "empty.dat").empty());
  EXPECT_EQ(ReadBytes(out / "one.dat"), PatternBytes(100));
  EXPECT_TRUE(ReadBytes(out / "raw.Unk").empty());
}

TEST_F(AssembleRun, AnUnformattedSeriesIsAssembledAsStemUnk) {
  const Bytes data = PatternBytes(30000, 7);
  AddSeries("big.", Pieces(data, 10240));
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "big.Unk"), data);
}

TEST_F(AssembleRun, ANameAndEscapeSeriesLosesExactlyItsPrefix) {
  const Bytes data =
      Concat(Text("\x1b.x"), PatternBytes(20000, 3));  // an escape inside the data stays
  std::vector<Bytes> pieces = Pieces(Concat(Text("old.txt\x1b"), data), 10240);
  AddSeries("old.", pieces);
  assembler.FormatForUnknowns(aftBrannock);
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "old.txt"), data);
}

TEST_F(AssembleRun, ThousandsOfFragmentsAreNamedOnPastThreeDigits) {
  const Bytes data = PatternBytes(1003 * 16, 11);
  AddSeries("many.", Pieces(data, 16));
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "many.Unk"), data);
  EXPECT_TRUE(FileExists(in / "many.1003"));
  EXPECT_EQ(events.log.front(), "start 1003");
}

TEST_F(AssembleRun, DotsInFolderNamesDoNotCount) {
  const std::string folder = in / "v1.2";
  MakeFolder(folder);
  const std::string first =
      WriteFragments(folder + kPathSeparator + "data.", Pieces(PatternBytes(50), 20));
  Add(first);
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "data.Unk"), PatternBytes(50));
}

TEST_F(AssembleRun, ChecksAndDecryptsEveryFragment) {
  const Bytes data = PatternBytes(30000, 5);
  AddSeries("secret.", CheckableSeries(data, 10000, "secret.bin", "open sesame"));
  assembler.DecryptionKey("open sesame");
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "secret.bin"), data);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AssembleRun, ADamagedFragmentAnsweredYesIsStillJoined) {
  const Bytes data = PatternBytes(30000, 5);
  std::vector<Bytes> pieces = CheckableSeries(data, 10000, "damaged.bin");
  pieces[1][17] ^= 0x40;
  AddSeries("damaged.", pieces);
  doubles.boxes.Answer(mb::kIdYes);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text,
            "The checkability verification on fragment 2 failed indicating that the fragment is "
            "probably corrupted. Are you sure you wish to continue?");
  EXPECT_EQ(Boxes()[0].title, "Warning");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconExclamation);
  EXPECT_EQ(Boxes()[0].Buttons(), mb::kYesNo);
  Bytes expected = data;
  expected[10000 + 17] ^= 0x40;
  EXPECT_EQ(ReadBytes(out / "damaged.bin"), expected);
}

TEST_F(AssembleRun, ADamagedFragmentAnsweredNoEndsAssembleAndKeepsThePartialOutput) {
  const Bytes data = PatternBytes(30000, 5);
  std::vector<Bytes> pieces = CheckableSeries(data, 10000, "damaged.bin");
  pieces[1][17] ^= 0x40;
  AddSeries("damaged.", pieces);
  AddSeries("next.", OwnSeries(PatternBytes(10), 10240, "next.bin"));
  doubles.boxes.Answer(mb::kIdNo);
  try {
    assembler.Assemble();
    FAIL() << "the refusal must raise";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), -2147219503);
    EXPECT_EQ(error.Source(), "ActiveAssembler");
    EXPECT_EQ(error.Description(), "Checkability check failed");
  }
  // What was written is kept, but not under the name of a finished file.
  EXPECT_FALSE(FileExists(out / "damaged.bin"));
  EXPECT_EQ(ReadBytes(out / "damaged.bin.partial"), Slice(data, 0, 10000));
  EXPECT_EQ(assembler.KeptPartials(), std::vector<std::string>{out / "damaged.bin.partial"});
  EXPECT_FALSE(FileExists(out / "next.bin"));
}

TEST_F(AssembleRun, ARefusedRunNeverTouchesAFileThatWasThereBefore) {
  const Bytes data = PatternBytes(30000, 5);
  std::vector<Bytes> pieces = CheckableSeries(data, 10000, "damaged.bin");
  pieces[2][3] ^= 1;
  AddSeries("damaged.", pieces);
  WriteText(out / "damaged.bin", "precious");
  doubles.boxes.Answer(mb::kIdNo);
  EXPECT_THROW(assembler.Assemble(), VbError);
  EXPECT_EQ(ReadBytes(out / "damaged.bin"), Text("precious"));
  EXPECT_EQ(ReadBytes(out / "damaged.bin.partial"), Slice(data, 0, 20000));
}

TEST_F(AssembleRun, AFragmentShorterThanItsCheckDigitsFailsItsCheck) {
  HandHeader header;
  header.name = "short.bin";
  header.checkable = true;
  header.count = 2;
  AddSeries("short.",
            {Concat(HandHeaderBytes(header), WithCheckDigits(library, Text("abc"))), Text("xy")});
  doubles.boxes.Answer(mb::kIdYes);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find("fragment 2 failed"), std::string::npos);
  EXPECT_EQ(ReadBytes(out / "short.bin"), Text("abc"));
}

TEST_F(AssembleRun, AWrongPassphraseLeavesNoFileAndTheNextSeriesStillRuns) {
  AddSeries("secret.", CheckableSeries(PatternBytes(500), 10000, "secret.bin", "open sesame"));
  AddSeries("next.", OwnSeries(PatternBytes(10), 10240, "next.bin"));
  assembler.DecryptionKey("guess");
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Passphrase incorrect");
  EXPECT_EQ(Boxes()[0].title, "Access denied");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconCritical);
  EXPECT_FALSE(FileExists(out / "secret.bin"));
  EXPECT_TRUE(WorkingFilesIn(out.Path()).empty());
  EXPECT_EQ(ReadBytes(out / "next.bin"), PatternBytes(10));
}

TEST_F(AssembleRun, ACompleteRunReplacesAnOlderFile) {
  WriteText(out / "notes.txt", "an older, longer file than the new one ..........................");
  AddSeries("notes.", OwnSeries(PatternBytes(10), 10240));
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "notes.txt"), PatternBytes(10));
}

TEST_F(AssembleRun, AMissingFragmentOnAFixedDiskEndsAssembleWithFileNotFound) {
  AddSeries("notes.", OwnSeries(PatternBytes(30000), 10240));
  RemoveFile(in / "notes.003");
  try {
    assembler.Assemble();
    FAIL();
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), err::kFileNotFound);
  }
  // Two fragments' worth, under a name no one takes for the finished file.
  EXPECT_EQ(NamesIn(out.Path()), std::vector<std::string>{"notes.txt.partial"});
  EXPECT_EQ(ReadBytes(out / "notes.txt.partial"), Slice(PatternBytes(30000), 0, 2 * 10240 - 73));
  EXPECT_EQ(assembler.KeptPartials(), std::vector<std::string>{out / "notes.txt.partial"});
}

TEST_F(AssembleRun, AnEarlyEndNeverReplacesAFileOfThePartialName) {
  const Bytes data = PatternBytes(30000);
  AddSeries("report.", OwnSeries(data, 10240, "report.doc"));
  RemoveFile(in / "report.003");
  WriteText(out / "report.doc.partial", "the user's own");
  EXPECT_THROW(assembler.Assemble(), VbError);
  EXPECT_THROW(assembler.Assemble(), VbError);
  EXPECT_EQ(ReadBytes(out / "report.doc.partial"), Text("the user's own"));
  const Bytes part = Slice(data, 0, 2 * 10240 - 74);
  EXPECT_EQ(ReadBytes(out / "report.doc.partial2"), part);
  EXPECT_EQ(ReadBytes(out / "report.doc.partial3"), part);
  EXPECT_EQ(assembler.KeptPartials(), std::vector<std::string>{out / "report.doc.partial3"});
  EXPECT_EQ(NamesIn(out.Path()),
            (std::vector<std::string>{"report.doc.partial", "report.doc.partial2",
                                      "report.doc.partial3"}));
}

TEST_F(AssembleRun, TheKeptPartOfALongNameIsCutToFit) {
  const std::string name = std::string(246, 'L') + ".doc";  // 250 characters
  AddSeries("long.", OwnSeries(PatternBytes(30000), 10240, name));
  RemoveFile(in / "long.002");
  EXPECT_THROW(assembler.Assemble(), VbError);
  EXPECT_THROW(assembler.Assemble(), VbError);
  EXPECT_EQ(NamesIn(out.Path()), (std::vector<std::string>{std::string(246, 'L') + "..partial",
                                                           std::string(246, 'L') + ".partial2"}));
}

TEST_F(AssembleRun, ACountOfZeroOrLessIsADamagedHeaderThatStopsOnlyItsSeries) {
  for (int16_t count : {int16_t{0}, int16_t{-3}}) {
    AssemblerHarness fresh;
    HandHeader header;
    header.count = count;
    const std::string first = WriteFragments(fresh.in / "zero.", {HandHeaderBytes(header)});
    fresh.Add(first);
    fresh.Add(WriteFragments(fresh.in / "next.", OwnSeries(PatternBytes(10), 10240, "next.bin")));
    EXPECT_EQ(fresh.assembler.FragmentCount(1), count);
    fresh.assembler.Assemble();
    ASSERT_EQ(fresh.Boxes().size(), 1u) << count;
    EXPECT_EQ(fresh.Boxes()[0].title, "Nothing to assemble");
    EXPECT_EQ(fresh.Boxes()[0].text, "The series header of " + first + " is damaged: it gives " +
                                         std::to_string(count) +
                                         " fragments. Nothing was assembled.");
    EXPECT_EQ(fresh.events.log[0], "start " + std::to_string(count));
    EXPECT_FALSE(FileExists(fresh.out / "notes.txt"));
    EXPECT_EQ(ReadBytes(fresh.out / "next.bin"), PatternBytes(10));
    EXPECT_EQ(fresh.assembler.CompletedSeries(), 1);
  }
}

TEST_F(AssembleRun, AnUnformattedSeriesWithoutItsFirstNumberAssemblesNothingAndSaysSo) {
  const std::string lonely = in / "lonely.bin";
  WriteText(lonely, "x");
  Add(lonely);
  AddSeries("next.", OwnSeries(PatternBytes(10), 10240, "next.bin"));
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Nothing to assemble");
  EXPECT_EQ(Boxes()[0].text,
            "The first fragment " + in / "lonely.001" + " was not found. Nothing was assembled.");
  EXPECT_FALSE(FileExists(out / "lonely.Unk"));
  EXPECT_EQ(ReadBytes(out / "next.bin"), PatternBytes(10));
  EXPECT_EQ(assembler.CompletedSeries(), 1);
}

TEST_F(AssembleRun, HostileStoredNamesStayInsideTheDestination) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"..\\..\\x1.txt", "x1.txt"},
      {"C:\\x2.txt", "x2.txt"},
      {"/x3.txt", "x3.txt"},
      {"../x4.txt", "x4.txt"},
      {"C:x5.txt", "x5.txt"},
      {"s.txt:stream", "stream"},
      {"CON", "h7.Unk"},
      {"nul.txt", "h8.Unk"},
      {"COM1.dat", "h9.Unk"},
      {"lpt9", "h10.Unk"},
      {"..", "h11.Unk"},
      {"dir\\", "h12.Unk"},
      {"CONIN$", "h13.Unk"},
      {"conout$.txt", "h14.Unk"},
      {"CLOCK$", "h15.Unk"},
      {"COM\xB9", "h16.Unk"},
      {"lpt\xB3.log", "h17.Unk"},
      // "COM²" in UTF-8, as this version stores a name the code page lacks.
      {std::string(kUtf8NameMark) + "COM\xC2\xB2", "h18.Unk"},
      {"LPT0", "h19.Unk"},
      {"notes.txt. . .", "notes.txt"},
      {" . .", "h21.Unk"},
      {"COM10", "COM10"},
  };
  for (size_t k = 0; k < cases.size(); ++k) {
    std::string stem = "h";
    stem.append(std::to_string(k + 1));
    stem.push_back('.');
    AddSeries(stem, OwnSeries(Text(cases[k].first), 10240, cases[k].first));
  }
  assembler.Assemble();
  for (const auto& [stored, expected] : cases) {
    EXPECT_EQ(ReadBytes(out / expected), Text(stored)) << stored;
  }
  EXPECT_EQ(assembler.OutputPathFor(1), out / "x1.txt");
  // The name shown before the run is the one Windows will write.
  EXPECT_EQ(assembler.OutputPathFor(20), out / "notes.txt");
  EXPECT_TRUE(Boxes().empty());
}

// Drive questions on scripted drives: the logic, not the system's drives.
TEST_F(AssembleRun, ALoneUnformattedFragmentOnARemovableDiskIsRefused) {
  const std::string first = AddSeries("big.", {PatternBytes(10)});
  SetDrive(first, DriveType::kRemovable);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Unable to determine number of fragments");
  EXPECT_EQ(
      Boxes()[0].text,
      "Since these fragments are unformatted, all fragments must be copied to the same directory "
      "on your hard disk before assembling can take place.");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 1"}));
  EXPECT_FALSE(FileExists(out / "big.Unk"));
  SetDrive(first, DriveType::kFixed);
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "big.Unk"), PatternBytes(10));
}

TEST_F(AssembleRun, ARemovableDiskIsAskedForAfterEveryFragmentButTheLast) {
  const Bytes data = PatternBytes(30000);
  const std::string first = AddSeries("notes.", OwnSeries(data, 10240));
  SetDrive(first, DriveType::kRemovable);
  assembler.Assemble();
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 3", "interval 1", "disk 2", "interval 2",
                                                  "disk 3", "interval 3"}));
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(AssembleRun, TheDiskIsAskedForAgainUntilTheFragmentOpens) {
  const Bytes data = PatternBytes(30000);
  std::vector<Bytes> pieces = OwnSeries(data, 10240);
  const std::string first = AddSeries("notes.", pieces);
  SetDrive(first, DriveType::kRemovable);
  RemoveFile(in / "notes.002");
  int asked = 0;
  events.onDisk = [&](int16_t disk, bool&) {
    if (disk == 2 && ++asked == 3)
      WriteBytes(in / "notes.002", pieces[1]);
  };
  assembler.Assemble();
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(AssembleRun, CancellingDisk3DeletesOnlyWhatThisRunWrote) {
  const std::string first = AddSeries("notes.", OwnSeries(PatternBytes(30000), 10240));
  AddSeries("next.", OwnSeries(PatternBytes(10), 10240, "next.bin"));
  SetDrive(first, DriveType::kRemovable);
  WriteText(out / "notes.txt", "precious");
  events.onDisk = [&](int16_t disk, bool& cancel) {
    if (disk == 3) {
      const std::vector<std::string> working = WorkingFilesIn(out.Path());
      ASSERT_EQ(working.size(), 1u);
      EXPECT_EQ(FileLength(out / working[0]), (10240u - 73u) + 10240u);
      cancel = true;
    }
  };
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "notes.txt"), Text("precious"));
  EXPECT_TRUE(WorkingFilesIn(out.Path()).empty());
  EXPECT_FALSE(FileExists(out / "notes.txt.partial"));
  // The next series still runs.
  EXPECT_EQ(ReadBytes(out / "next.bin"), PatternBytes(10));
}

TEST_F(AssembleRun, AWholeOutputThatCannotTakeItsNameIsKeptBesideIt) {
  const Bytes data = PatternBytes(30000);
  const std::string first = AddSeries("notes.", OwnSeries(data, 10240));
  SetDrive(first, DriveType::kRemovable);
  events.onDisk = [&](int16_t disk, bool&) {
    if (disk == 3) {  // a folder takes the name meanwhile
      MakeFolder(out / "notes.txt");
      WriteText(out / "notes.txt" + kPathSeparator + "inside", "x");
    }
  };
  EXPECT_NE(ErrorOf([&] { assembler.Assemble(); }), 0);
  EXPECT_EQ(ReadBytes(out / "notes.txt.partial"), data);
  EXPECT_EQ(assembler.KeptPartials(), std::vector<std::string>{out / "notes.txt.partial"});
  EXPECT_TRUE(WorkingFilesIn(out.Path()).empty());
}

TEST_F(AssembleRun, CDRomWarningsBeforeTheFirstAndAfterEveryFragment) {
  const std::string first = AddSeries("notes.", OwnSeries(PatternBytes(30000), 10240));
  SetDrive(first, DriveType::kCdRom);
  assembler.Assemble();
  ASSERT_EQ(Boxes().size(), 4u);
  for (const ShownBox& box : Boxes()) {
    EXPECT_EQ(box.title, "CDROM Warning");
    EXPECT_EQ(box.text, "CD-ROM handler not yet present. Will be treated like hard-disk.");
    EXPECT_EQ(box.Icon(), mb::kIconExclamation);
  }
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"start 3", "interval 1", "interval 2", "interval 3"}));
}

#ifndef _WIN32
// Natively every file is its own drive to the scripted drives, so the two
// questions can be told apart.
TEST_F(AssembleRun, DiskRequestsFollowTheListsFirstEntryNotTheSeries) {
  const std::string fixedFirst =
      AddSeries("fixed.", OwnSeries(PatternBytes(30000), 10240, "fixed.bin"));
  const std::string onA = AddSeries("floppy.", OwnSeries(PatternBytes(30000), 10240, "floppy.bin"));
  SetDrive(onA, DriveType::kRemovable);
  assembler.Assemble();
  for (const std::string& line : events.log)
    EXPECT_EQ(line.find("disk"), std::string::npos) << line;
  EXPECT_EQ(ReadBytes(out / "floppy.bin"), PatternBytes(30000));
}
#endif

}  // namespace
}  // namespace vtq::test
