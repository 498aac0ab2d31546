// Outside-view checks of the fragment format: what a reader of a series sees
// byte by byte, how a series is cut and named, and which first fragments are
// told apart, beyond the layout cases of format_test.cpp.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/error.h"
#include "engine/format.h"
#include "engine/path.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/header_bytes.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using test::Bytes;
using test::WholeHeader;
using test::WordAt;

using test::ErrorOf;

FileRecord Record(std::string name, int16_t count = 1) {
  FileRecord file;
  file.fragmentCount = count;
  file.sourceName = std::move(name);
  return file;
}

TEST(SeriesHeaderBytes, FixedWidthCountKeepsTheHeaderLength) {
  for (const bool encrypted : {false, true}) {
    std::vector<size_t> sizes;
    for (const int16_t count : {int16_t{1}, int16_t{999}, int16_t{1000}, int16_t{32767}}) {
      FileRecord file = Record("notes.txt", count);
      file.encrypted = encrypted;
      const std::string header = WholeHeader(file);
      EXPECT_EQ(WordAt(header, 50), static_cast<uint16_t>(count));
      sizes.push_back(header.size());
    }
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), HeaderLength(9, encrypted)), 4);
  }
}

TEST(SeriesHeaderBytes, NamesAreOneBytePerCharacterWithoutTerminator) {
  // "Ärger.txt" in code page 1252: nine characters, nine bytes.
  const std::string name = "\xC4rger.txt";
  const std::string header = WholeHeader(Record(name));
  ASSERT_EQ(header.size(), 64u + 9);
  EXPECT_EQ(WordAt(header, 52), 9);
  EXPECT_EQ(header.substr(54, 9), name);
  EXPECT_EQ(WordAt(header, 54 + 9), 0);  // the multisize flag follows at once
  const SeriesHeader read = ParseSeriesHeader(Bytes(header));
  EXPECT_EQ(read.file.sourceName, name);
  EXPECT_EQ(read.length, 73u);
}

TEST(SeriesHeaderBytes, AnEmptyNameGivesTheShortestHeader) {
  const std::string header = WholeHeader(Record(""));
  EXPECT_EQ(header.size(), 64u);
  EXPECT_EQ(HeaderLength(0, false), 64u);
  EXPECT_EQ(HeaderLength(0, true), 64u + 77 + 8);
  EXPECT_EQ(ParseSeriesHeader(Bytes(header)).file.sourceName, "");
}

TEST(SeriesHeaderBytes, LengthFieldsAreUnsigned) {
  // A name of 40,000 bytes has a length field above 32,767; it reads back whole.
  const std::string name(40000, 'n');
  const std::string header = WholeHeader(Record(name));
  EXPECT_EQ(WordAt(header, 52), 40000);
  const SeriesHeader read = ParseSeriesHeader(Bytes(header));
  EXPECT_EQ(read.file.sourceName.size(), 40000u);
  EXPECT_EQ(read.length, HeaderLength(40000, false));
  // 65,536 bytes do not fit the field: refused rather than written wrong.
  EXPECT_EQ(ErrorOf([] { EncodeFileRecord(Record(std::string(65536, 'n'))); }), err::kOverflow);
}

TEST(SeriesHeaderBytes, ReadersGoByTheLengthFieldsNotByFixedOffsets) {
  // Another writer's format record with a longer name and other words: the
  // file record is found after it, and the data after the records read.
  FormatRecord longer;
  longer.name = std::string(kFormatName) + " 2";
  longer.words[0] = 7;
  FileRecord file = Record("a.b", 3);
  file.checkable = true;
  const std::string bytes = EncodeFormatRecord(longer) + EncodeFileRecord(file) + "DATA";
  const SeriesHeader read = ParseSeriesHeader(Bytes(bytes));
  EXPECT_EQ(read.format.name, longer.name);
  EXPECT_EQ(read.format.words[0], 7);
  EXPECT_EQ(read.file.fragmentCount, 3);
  EXPECT_EQ(read.file.sourceName, "a.b");
  EXPECT_TRUE(read.file.checkable);
  EXPECT_EQ(bytes.substr(read.length), "DATA");
}

TEST(SeriesHeaderBytes, EncryptedHeaderIsReadUpToTheKeyCheck) {
  FileRecord file = Record("notes.txt");
  file.encrypted = true;
  const std::string bytes = WholeHeader(file, 0x1234) + "cipher";
  const SeriesHeader read = ParseSeriesHeader(Bytes(bytes));
  ASSERT_TRUE(read.encryption.has_value());
  EXPECT_EQ(read.encryption->keyCheck, 0x1234);
  EXPECT_EQ(read.encryption->notice, kEncryptionNotice);
  EXPECT_EQ(read.encryption->word1, 0);
  EXPECT_EQ(read.encryption->word2, 1);
  EXPECT_EQ(read.length, 9u + 77 + 72);
  EXPECT_EQ(bytes.substr(read.length), "cipher");
  // Without the encryption flag the same bytes after the file record are data.
  file.encrypted = false;
  const std::string plain = WholeHeader(file) + "cipher";
  EXPECT_EQ(plain.substr(ParseSeriesHeader(Bytes(plain)).length), "cipher");
}

// The series as one stream (prefix, then the source) cut into F-byte and
// G-byte fragments that each end in c check-digit bytes.
int64_t PiecesWhenCut(int64_t prefix, int64_t source, int64_t first, int64_t other, int64_t c) {
  int64_t left = prefix + source;
  int64_t pieces = 1;
  left -= std::min(left, first - c);
  for (; left > 0; ++pieces)
    left -= std::min(left, other - c);
  return pieces;
}

TEST(SeriesCutting, CountAgreesWithCuttingTheStream) {
  uint32_t x = 99;
  const auto next = [&x](int64_t n) {
    x = x * 1103515245u + 12345u;
    return static_cast<int64_t>((x >> 8) % static_cast<uint32_t>(n));
  };
  for (int i = 0; i < 2000; ++i) {
    const int64_t c = next(2) * 4;
    const int64_t prefix = next(3) == 0 ? 0 : next(20);
    const int64_t first = prefix + c + 1 + next(30);
    const int64_t other = c + 1 + next(30);
    const int64_t source = next(400);
    EXPECT_EQ(FragmentCountFor(prefix, source, first, other, c),
              PiecesWhenCut(prefix, source, first, other, c))
        << "P=" << prefix << " S=" << source << " F=" << first << " G=" << other << " c=" << c;
  }
}

TEST(SeriesCutting, NotesTxtInEveryFormatIsOneFragment) {
  // 1,000 bytes into 1.44 MB fragments: own format (prefix 73), old format
  // (name + escape, 10), raw (0), with and without check digits.
  for (const int64_t prefix : {int64_t{73}, int64_t{10}, int64_t{0}}) {
    for (const int64_t c : {int64_t{0}, int64_t{4}}) {
      EXPECT_EQ(FragmentCountFor(prefix, 1000, aftHighDensity, aftHighDensity, c), 1);
    }
  }
  // The standard sizes are the byte counts of their media.
  EXPECT_EQ(aftLowDensity, 730112);
  EXPECT_EQ(aftHighDensity, 1457664);
  EXPECT_EQ(aftUltraDensity, 1745408);
  EXPECT_EQ(aftMegabyte, 1048576);
  EXPECT_EQ(aftDMegabyte, 2097152);
  EXPECT_EQ(aftQuorvelle, 0);
  EXPECT_EQ(aftRaw, 1);
  EXPECT_EQ(aftBrannock, 2);
  EXPECT_EQ(sizeof(AftFileFormat), 4u);
  EXPECT_EQ(sizeof(AftFileSize), 4u);
}

TEST(SeriesCutting, ADifferentFirstSizeOnlyChangesTheFirstPiece) {
  // Own format, 73-byte prefix: a small first fragment, then 1.44 MB pieces.
  const int64_t source = 3 * int64_t{aftHighDensity};
  EXPECT_EQ(FragmentCountFor(73, source, 10240, aftHighDensity, 0),
            1 + (73 + source - 10240 + aftHighDensity - 1) / aftHighDensity);
  EXPECT_EQ(FragmentCountFor(73, source, 10240, aftHighDensity, 0), 4);
  EXPECT_EQ(FragmentCountFor(0, source, aftHighDensity, aftHighDensity, 0), 3);
  EXPECT_EQ(FragmentCountFor(0, source, aftHighDensity, aftHighDensity, 4), 4);
}

TEST(SeriesNames, ThreeFragmentsOfReportDoc) {
  const std::string S(1, kPathSeparator);
  const std::string source = "C:" + S + "data" + S + "report.doc";
  const std::string stem = StemOf(BaseName(source));
  std::vector<std::string> names;
  for (int i = 1; i <= 3; ++i)
    names.push_back("A:" + S + stem + FragmentNumber(i));
  EXPECT_EQ(names, (std::vector<std::string>{"A:" + S + "report.001", "A:" + S + "report.002",
                                             "A:" + S + "report.003"}));
  // The folder of the source never enters the stem, whatever dots it has.
  EXPECT_EQ(StemOf(BaseName("C:" + S + "my.dir" + S + "README")), "");
  EXPECT_EQ(StemOf(BaseName("C:" + S + "my.dir" + S + "big.zip")), "big.");
  EXPECT_EQ(FragmentNumber(99), "099");
  EXPECT_EQ(FragmentNumber(100), "100");
  EXPECT_EQ(FragmentNumber(1001), "1001");
}

class FirstFragment : public ::testing::Test {
 protected:
  bool Own(std::string_view bytes) { return LooksLikeOwnFormat(Bytes(bytes), boxes); }
  test::RecordingBoxes boxes;
};

TEST_F(FirstFragment, AWrittenHeaderIsRecognisedSilently) {
  for (const bool encrypted : {false, true}) {
    FileRecord file = Record("notes.txt");
    file.encrypted = encrypted;
    EXPECT_TRUE(Own(WholeHeader(file) + std::string(1000, '\0')));
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FirstFragment, TextComparisonsAreCaseSensitive) {
  EXPECT_FALSE(Own("xx quorvelle extendable fragment format"));
  EXPECT_FALSE(Own("QUORVELLE Fragment 1.0"));
  EXPECT_FALSE(Own("quorvelle"));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(Own("Quorvelle fragment 1.0"));  // first 9 bytes still "Quorvelle"
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Old Quorvelle file");
}

TEST_F(FirstFragment, OldFormatMessagesComeEveryTimeAndOnlyOnce) {
  const std::string old = std::string(kOldFormatMagic) + std::string(400, '\0');
  EXPECT_FALSE(Own(old));
  EXPECT_FALSE(Own(old));
  EXPECT_FALSE(Own("Quorvelle Fragment 1.0"));  // exactly the 22 bytes
  ASSERT_EQ(boxes.shown.size(), 3u);
  for (const auto& box : boxes.shown) {
    EXPECT_EQ(box.text, "Old version of Quorvelle fragment format");
    EXPECT_EQ(box.title, "Format unsupported");
    EXPECT_EQ(box.Icon(), mb::kIconCritical);
    EXPECT_EQ(box.Buttons(), mb::kOk);
  }
}

TEST_F(FirstFragment, OtherFilesPassWithoutAMessage) {
  EXPECT_FALSE(
      Own("notes.txt\x1b"
          "data"));
  EXPECT_FALSE(Own(std::string(300, '\0')));
  EXPECT_FALSE(Own(" Quorvelle"));  // not at the start
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(OldFormatPrefix, NameAndEscapeOfAWrittenFirstFragment) {
  // What the old format writes: the base name, one byte 27, then data.
  const std::string name = "notes.txt";
  const std::string fragment = name + std::string(1, kEscape) + "data.\x1b more";
  const auto bytes = Bytes(fragment);
  EXPECT_TRUE(LooksLikeBrannock(bytes));
  const std::string prefix = BrannockPrefix(bytes);
  EXPECT_EQ(prefix.size(), name.size() + 1);
  EXPECT_EQ(prefix.substr(0, prefix.size() - 1), name);
  EXPECT_EQ(prefix.back(), kEscape);
  // An own-format header with no escape byte in its first 300 bytes is not one.
  EXPECT_FALSE(LooksLikeBrannock(Bytes(WholeHeader(Record("notes.txt")))));
}

TEST(OldFormatPrefix, HighBytesInTheNameAreKept) {
  const auto bytes = Bytes(std::string_view("\xC4rger.txt\x1b\xFF\0", 12));
  EXPECT_TRUE(LooksLikeBrannock(bytes));
  EXPECT_EQ(BrannockPrefix(bytes), "\xC4rger.txt\x1b");
}

}  // namespace
}  // namespace vtq
