// The assembler's queries over a series' first fragment.

#include <gtest/gtest.h>

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

class AssemblerQueries : public ::testing::Test, protected AssemblerHarness {
 protected:
  std::string Put(const std::string& base, const Bytes& bytes) {
    const std::string name = in / base;
    WriteBytes(name, bytes);
    Add(name);
    return name;
  }
};

TEST_F(AssemblerQueries, DestinationFolderAlwaysEndsInSeparator) {
  const std::string sep(1, kPathSeparator);
  assembler.DestinationFolder("out");
  EXPECT_EQ(assembler.DestinationFolder(), "out" + sep);
  assembler.DestinationFolder("out" + sep);
  EXPECT_EQ(assembler.DestinationFolder(), "out" + sep);
  assembler.DestinationFolder("");
  EXPECT_EQ(assembler.DestinationFolder(), sep);
}

TEST_F(AssemblerQueries, StartsWithRawForUnknownsAndTheBuiltInKey) {
  ActiveAssembler fresh(globals, events);
  EXPECT_EQ(fresh.FormatForUnknowns(), aftRaw);
  EXPECT_EQ(fresh.DestinationFolder(), "");
  EXPECT_TRUE(fresh.FilesToAssemble().Empty());
  EXPECT_EQ(fresh.DecryptionKey(), "Halvering Sealworthiness");
  EXPECT_EQ(&fresh.FilesToAssemble(), &fresh.FilesToAssemble());
}

TEST_F(AssemblerQueries, RawIsPossibleEvenForAFileThatDoesNotExist) {
  EXPECT_TRUE(assembler.FormatCouldBe(in / "missing.001", aftRaw));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AssemblerQueries, OwnFormatIsFoundAnywhereWhollyInsideTheFirst300Bytes) {
  Bytes at264(264, 'x');
  at264 = Concat(at264, Text("Quorvelle Extendable Fragment Format"));
  Put("inside.001", at264);
  Bytes at290(290, 'x');
  at290 = Concat(at290, Text("Quorvelle Extendable Fragment Format"));
  Put("beyond.001", at290);
  EXPECT_TRUE(assembler.FormatCouldBe("inside.001", aftQuorvelle));
  EXPECT_FALSE(assembler.FormatCouldBe("beyond.001", aftQuorvelle));
  EXPECT_EQ(assembler.FileFormat("beyond.001"), aftRaw);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AssemblerQueries, OlderOwnFormatsAreRefusedWithTheirOwnMessageOnEveryCall) {
  Put("old.001", Text("Quorvelle Fragment 1.0 and then some data"));
  Put("older.001", Text("Quorvelle something"));
  EXPECT_EQ(assembler.FileFormat("old.001"), aftRaw);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Old version of Quorvelle fragment format");
  EXPECT_EQ(Boxes()[0].title, "Format unsupported");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(Boxes()[0].Buttons(), mb::kOk);
  EXPECT_EQ(assembler.FileFormat("older.001"), aftRaw);
  EXPECT_EQ(assembler.FileFormat("older.001"), aftRaw);
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[1].text, "Old Quorvelle file");
  EXPECT_EQ(Boxes()[2].text, "Old Quorvelle file");
  EXPECT_EQ(Boxes()[2].title, "Format unsupported");
}

TEST_F(AssemblerQueries, ANameAndEscapePrefixIsJoinedAsTheFormatForUnknowns) {
  Put("old.001", Concat(Text("old.txt\x1b"), Text("data")));
  Put("esc.001", Text("ab\x1b.cd"));
  EXPECT_TRUE(assembler.FormatCouldBe("old.001", aftBrannock));
  EXPECT_EQ(assembler.FileFormat("old.001"), aftRaw);
  EXPECT_EQ(assembler.Header("old.001"), "");
  EXPECT_EQ(assembler.AssembledFilename("old.001"), std::optional<std::string>(""));
  assembler.FormatForUnknowns(aftBrannock);
  EXPECT_EQ(assembler.FileFormat("old.001"), aftBrannock);
  EXPECT_EQ(assembler.Header("old.001"), "old.txt\x1b");
  EXPECT_EQ(assembler.AssembledFilename("old.001"), std::optional<std::string>("old.txt"));
  // An escape before the first "." is no such prefix.
  EXPECT_FALSE(assembler.FormatCouldBe("esc.001", aftBrannock));
  EXPECT_EQ(assembler.FileFormat("esc.001"), aftRaw);
  // The command's "no answer yet" value comes back for a foreign fragment,
  // and names nothing.
  assembler.FormatForUnknowns(static_cast<AftFileFormat>(-1));
  EXPECT_EQ(assembler.FileFormat("old.001"), static_cast<AftFileFormat>(-1));
  EXPECT_EQ(assembler.AssembledFilename("old.001"), std::nullopt);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AssemblerQueries, HeaderOfAnOwnFormatFragmentIsAReportedMisuse) {
  Put("notes.001", HandHeaderBytes({}));
  EXPECT_EQ(assembler.Header("notes.001"), "");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Critical failure");
  EXPECT_EQ(Boxes()[0].Icon(), mb::kIconCritical);
}

TEST_F(AssemblerQueries, OwnFormatCountAndNameComeFromTheHeader) {
  HandHeader header;
  header.count = 7;
  header.name = "report.final.doc";
  Put("report.001", Concat(HandHeaderBytes(header), Text("data")));
  EXPECT_EQ(assembler.FileFormat(1), aftQuorvelle);
  EXPECT_EQ(assembler.FragmentCount(1), 7);
  EXPECT_EQ(assembler.AssembledFilename("report.001"),
            std::optional<std::string>("report.final.doc"));
  const SeriesHeader read = assembler.ReadSeriesHeaders(1);
  EXPECT_EQ(read.length, 64u + 16u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AssemblerQueries, UnformattedCountStopsAtTheFirstMissingName) {
  Put("big.001", Text("a"));
  WriteBytes(in / "big.002", Text("b"));
  WriteBytes(in / "big.004", Text("d"));
  EXPECT_EQ(assembler.FragmentCount("big.001"), 2);
  EXPECT_EQ(assembler.AssembledFilename("big.001"), std::optional<std::string>(""));
  // A first entry whose own number is missing has no series at all.
  Put("lonely.bin", Text("x"));
  EXPECT_EQ(assembler.FragmentCount("lonely.bin"), 0);
}

TEST_F(AssemblerQueries, UnsupportedFeaturesWarnOnEveryHeaderRead) {
  HandHeader header;
  header.reserved = true;
  header.encodable = true;
  Put("notes.001", HandHeaderBytes(header));
  EXPECT_EQ(assembler.FragmentCount(1), 1);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text,
            "Reserved feature unsupported - the fragments may not assemble correctly");
  EXPECT_EQ(Boxes()[1].text, "Encodability unsupported - the fragments may not assemble correctly");
  for (const ShownBox& box : Boxes()) {
    EXPECT_EQ(box.title, "Feature unsupported - you may wish to upgrade");
    EXPECT_EQ(box.Icon(), mb::kIconExclamation);
    EXPECT_EQ(box.Buttons(), mb::kOk);
  }
  assembler.AssembledFilename(1);
  EXPECT_EQ(Boxes().size(), 4u);
}

TEST_F(AssemblerQueries, KeyValidComparesTheKeyCheckOfTheCurrentKey) {
  Put("plain.001", HandHeaderBytes({}));
  EXPECT_TRUE(assembler.KeyValid("plain.001"));
  Kavrolib library;
  HandHeader header;
  header.name = "secret.txt";
  header.encrypted = true;
  header.keyCheck = KeyCheck(library, "open sesame");
  Put("secret.001", HandHeaderBytes(header));
  EXPECT_FALSE(assembler.KeyValid("secret.001"));
  assembler.DecryptionKey("open sesame");
  EXPECT_TRUE(assembler.KeyValid("secret.001"));
  assembler.DecryptionKey("Open sesame");
  EXPECT_FALSE(assembler.KeyValid("secret.001"));
}

TEST_F(AssemblerQueries, MembersResolveTheirArgumentThroughTheList) {
  Put("notes.001", HandHeaderBytes({}));
  EXPECT_EQ(assembler.FileFormat(in / "notes.001"), aftQuorvelle);
  EXPECT_EQ(assembler.FileFormat("NOTES.001"), aftQuorvelle);
  try {
    assembler.FileFormat("other.001");
    FAIL() << "an unknown name must fail";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), err::kInvalidArgument);
  }
  EXPECT_THROW(assembler.FragmentCount(2), VbError);
}

TEST_F(AssemblerQueries, DamagedHeadersEndInTheHeaderErrorNeverAnOverRead) {
  const Bytes whole = HandHeaderBytes({});
  // Cut short at every length, so no field is read past the end.
  for (size_t cut = 40; cut < whole.size(); ++cut) {
    const std::string name = in / ("cut" + std::to_string(cut) + ".001");
    Bytes part = Slice(whole, 0, cut);
    WriteBytes(name, part);
    Add(name);
    EXPECT_THROW(assembler.FragmentCount(name), VbError) << cut;
  }
  // A name length beyond the file.
  Bytes longName = whole;
  longName[52] = 0xFF;
  longName[53] = 0x7F;
  Put("long.001", longName);
  try {
    assembler.AssembledFilename("long.001");
    FAIL() << "a name beyond the file must fail";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), err::kInputPastEnd);
  }
}

TEST_F(AssemblerQueries, AFragmentThatCannotBeOpenedFailsTheQuery) {
  const std::string name = Put("gone.001", Text("x"));
  RemoveFile(name);
  EXPECT_THROW(assembler.FileFormat(1), VbError);
  EXPECT_THROW(assembler.Header(1), VbError);
}

}  // namespace
}  // namespace vtq::test
