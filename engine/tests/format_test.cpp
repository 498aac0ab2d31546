#include "engine/format.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/error.h"
#include "engine/path.h"
#include "engine/tests/support/header_bytes.h"
#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

using test::Bytes;
using test::WholeHeader;
using test::WordAt;

FileRecord NotesRecord() {
  FileRecord file;
  file.fragmentCount = 1;
  file.sourceName = "notes.txt";
  return file;
}

TEST(SeriesHeaderLayout, NotesTxtTakesFiftyPlusTwentyThreeBytes) {
  const std::string format = EncodeFormatRecord(FormatRecord{});
  ASSERT_EQ(format.size(), kFormatRecordLength);
  EXPECT_EQ(WordAt(format, 0), 36);
  EXPECT_EQ(format.substr(2, 36), "Quorvelle Extendable Fragment Format");
  const uint16_t words[6] = {3, 0, 0, 2, 0, 0};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(WordAt(format, 38 + 2 * i), words[i]) << "word " << i + 1;

  const std::string header = format + EncodeFileRecord(NotesRecord());
  ASSERT_EQ(header.size(), 73u);
  EXPECT_EQ(HeaderLength(9, false), 73u);
  EXPECT_EQ(HeaderLength(9, false) + 1000, 1073u);
  EXPECT_EQ(WordAt(header, 50), 1);  // fragment count
  EXPECT_EQ(WordAt(header, 52), 9);  // name length L
  EXPECT_EQ(header.substr(54, 9), "notes.txt");
  for (size_t flag = 54 + 9; flag < 73; flag += 2)
    EXPECT_EQ(WordAt(header, flag), 0) << flag;
}

TEST(SeriesHeaderLayout, BooleansAreMinusOneAtTheirOffsets) {
  FileRecord file = NotesRecord();
  file.multisize = true;
  file.checkable = true;
  const std::string header = WholeHeader(file);
  const size_t L = 9;
  EXPECT_EQ(WordAt(header, 54 + L), 0xFFFF);  // multisize
  EXPECT_EQ(WordAt(header, 56 + L), 0);       // encryption
  EXPECT_EQ(WordAt(header, 58 + L), 0);       // encodability
  EXPECT_EQ(WordAt(header, 60 + L), 0);       // reserved feature
  EXPECT_EQ(WordAt(header, 62 + L), 0xFFFF);  // checkability
  EXPECT_EQ(header.size(), 64 + L);
}

TEST(SeriesHeaderLayout, EncryptionRecordFollowsInClear) {
  ASSERT_EQ(kEncryptionNotice.size(), 77u);
  EXPECT_NE(kEncryptionNotice.find("Q-Weave"), std::string_view::npos);
  FileRecord file = NotesRecord();
  file.encrypted = true;
  const std::string header = WholeHeader(file, -2);
  const size_t L = 9, T = 77;
  ASSERT_EQ(header.size(), L + T + 72);
  EXPECT_EQ(HeaderLength(L, true), L + T + 72);
  EXPECT_EQ(WordAt(header, 56 + L), 0xFFFF);
  EXPECT_EQ(WordAt(header, 64 + L), T);
  EXPECT_EQ(header.substr(66 + L, T), kEncryptionNotice);
  EXPECT_EQ(WordAt(header, 66 + L + T), 0);
  EXPECT_EQ(WordAt(header, 68 + L + T), 1);
  EXPECT_EQ(WordAt(header, 70 + L + T), 0xFFFE);

  // Another passphrase changes the key check and nothing else.
  const std::string other = WholeHeader(file, 12345);
  ASSERT_EQ(other.size(), header.size());
  EXPECT_EQ(other.substr(0, 70 + L + T), header.substr(0, 70 + L + T));
  EXPECT_EQ(WordAt(other, 70 + L + T), 12345);
}

TEST(SeriesHeaderReading, RoundTripsEveryField) {
  for (const bool encrypted : {false, true}) {
    FileRecord file;
    file.fragmentCount = 32767;
    file.sourceName = "report.final.doc";
    file.multisize = true;
    file.encrypted = encrypted;
    file.reservedFeature = true;
    file.checkable = true;
    std::string bytes = WholeHeader(file, -32768) + "DATA";
    const SeriesHeader h =
        ParseSeriesHeader(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(h.format.name, kFormatName);
    EXPECT_EQ(h.format.words[3], 2);
    EXPECT_EQ(h.file.fragmentCount, 32767);
    EXPECT_EQ(h.file.sourceName, "report.final.doc");
    EXPECT_TRUE(h.file.multisize);
    EXPECT_EQ(h.file.encrypted, encrypted);
    EXPECT_FALSE(h.file.encodable);
    EXPECT_TRUE(h.file.reservedFeature);
    EXPECT_TRUE(h.file.checkable);
    EXPECT_EQ(h.encryption.has_value(), encrypted);
    if (encrypted) {
      EXPECT_EQ(h.encryption->keyCheck, -32768);
    }
    EXPECT_EQ(h.length, HeaderLength(16, encrypted));
  }
}

void ExpectDamaged(const std::vector<uint8_t>& bytes, const std::string& what) {
  try {
    ParseSeriesHeader(bytes);
    ADD_FAILURE() << what << ": no error";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), err::kInputPastEnd) << what;
    EXPECT_EQ(e.Source(), "ActiveAssembler") << what;
    EXPECT_NE(e.Description().find("damaged"), std::string::npos) << what;
  }
}

TEST(SeriesHeaderReading, EveryTruncationRaisesWithoutOverReading) {
  for (const bool encrypted : {false, true}) {
    FileRecord file = NotesRecord();
    file.encrypted = encrypted;
    const std::string whole = WholeHeader(file);
    for (size_t n = 0; n < whole.size(); ++n) {
      // An exact-size heap copy, so that the sanitizer sees any byte read beyond it.
      ExpectDamaged(std::vector<uint8_t>(whole.begin(), whole.begin() + n),
                    "cut at " + std::to_string(n));
    }
    EXPECT_NO_THROW(ParseSeriesHeader(Bytes(whole)));
  }
}

TEST(SeriesHeaderReading, LengthFieldsBeyondTheBufferAreRefused) {
  std::string header = WholeHeader(NotesRecord());
  std::string hugeName = header;
  hugeName[52] = '\xFF';
  hugeName[53] = '\xFF';
  ExpectDamaged(Bytes(hugeName + std::string(1000, 'x')), "name length 65535");

  std::string hugeFormatName = header;
  hugeFormatName[0] = '\x00';
  hugeFormatName[1] = '\x80';
  ExpectDamaged(Bytes(hugeFormatName), "format name length 32768");

  FileRecord encrypted = NotesRecord();
  encrypted.encrypted = true;
  std::string hugeNotice = WholeHeader(encrypted);
  hugeNotice[64 + 9] = '\xFF';
  ExpectDamaged(Bytes(hugeNotice), "notice length 255");
}

// The count query reports such a count and the run refuses that series.
TEST(SeriesHeaderReading, AFragmentCountBelowOneIsReadAsStored) {
  for (const int16_t count : {int16_t{0}, int16_t{-1}, int16_t{-32768}}) {
    FileRecord file = NotesRecord();
    file.fragmentCount = count;
    EXPECT_EQ(ParseSeriesHeader(Bytes(WholeHeader(file))).file.fragmentCount, count);
  }
}

TEST(SeriesHeaderReading, AnyNonZeroFlagReadsAsTrue) {
  std::string header = WholeHeader(NotesRecord());
  header[62 + 9] = '\x01';  // checkability written by some other tool as 1
  EXPECT_TRUE(ParseSeriesHeader(Bytes(header)).file.checkable);
}

TEST(FragmentCount, OneFragmentUntilTheFirstIsFull) {
  EXPECT_EQ(FragmentCountFor(73, 1000, aftHighDensity, aftHighDensity, 0), 1);
  EXPECT_EQ(FragmentCountFor(0, 10240, 10240, 10240, 0), 1);
  EXPECT_EQ(FragmentCountFor(0, 10241, 10240, 10240, 0), 2);
  EXPECT_EQ(FragmentCountFor(0, 20480, 10240, 10240, 0), 2);
  EXPECT_EQ(FragmentCountFor(0, 20481, 10240, 10240, 0), 3);
  EXPECT_EQ(FragmentCountFor(0, 0, 10240, 10240, 0), 1);
}

TEST(FragmentCount, PrefixAndCheckDigitsTakeRoom) {
  // 10 prefix bytes + 10,226 source bytes fill a 10,240-byte first fragment with 4 check digits.
  EXPECT_EQ(FragmentCountFor(10, 10226, 10240, 20000, 4), 1);
  EXPECT_EQ(FragmentCountFor(10, 10227, 10240, 20000, 4), 2);
  EXPECT_EQ(FragmentCountFor(10, 10226 + 19996, 10240, 20000, 4), 2);
  EXPECT_EQ(FragmentCountFor(10, 10226 + 19997, 10240, 20000, 4), 3);
}

TEST(FragmentCount, LargeSourcesCountIn64Bits) {
  EXPECT_EQ(FragmentCountFor(0, int64_t{10240} * 400000, 10240, 10240, 0), 400000);
  EXPECT_THROW(FragmentCountFor(0, 100000, 10240, 4, 4), VbError);
}

TEST(SeriesNaming, StemPlusPaddedNumber) {
  const auto name = [](std::string_view source, int i) {
    return StemOf(BaseName(source)) + FragmentNumber(i);
  };
  const std::string S(1, kPathSeparator);
  EXPECT_EQ(name("data" + S + "report.doc", 3), "report.003");
  EXPECT_EQ(name("notes.txt", 1), "notes.001");
  EXPECT_EQ(name("README", 1), "001");
  EXPECT_EQ(name("archive.tar.gz", 1), "archive.001");
  EXPECT_EQ(name("archive.tar.gz", 1000), "archive.1000");
}

class Recognition : public ::testing::Test {
 protected:
  // A window of `size` filler bytes with `text` placed at `offset`.
  static std::vector<uint8_t> Window(size_t size, std::string_view text, size_t offset) {
    std::vector<uint8_t> window(size, 'x');
    std::copy(text.begin(), text.end(), window.begin() + static_cast<std::ptrdiff_t>(offset));
    return window;
  }
  test::RecordingBoxes boxes;
};

TEST_F(Recognition, FormatNameAnywhereWhollyInsideTheWindow) {
  EXPECT_TRUE(LooksLikeOwnFormat(Window(300, kFormatName, 2), boxes));
  EXPECT_TRUE(LooksLikeOwnFormat(Window(300, kFormatName, 300 - 36), boxes));
  EXPECT_TRUE(LooksLikeOwnFormat(Window(38, kFormatName, 2), boxes));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Recognition, FormatNameBeyondTheWindowIsNotSeen) {
  EXPECT_FALSE(LooksLikeOwnFormat(Window(300, kFormatName.substr(0, 10), 290), boxes));
  EXPECT_FALSE(LooksLikeOwnFormat(Window(400, kFormatName, 290), boxes));
  EXPECT_FALSE(LooksLikeOwnFormat(Window(400, kFormatName, 300 - 35), boxes));
  EXPECT_FALSE(LooksLikeOwnFormat({}, boxes));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Recognition, OldFormatIsRefusedWithItsOwnMessageOnly) {
  EXPECT_FALSE(LooksLikeOwnFormat(Window(300, kOldFormatMagic, 0), boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Old version of Quorvelle fragment format");
  EXPECT_EQ(boxes.shown[0].title, "Format unsupported");
  EXPECT_EQ(boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(boxes.shown[0].Buttons(), mb::kOk);
}

TEST_F(Recognition, OldFileGetsTheOtherMessage) {
  for (const std::string_view start : {"Quorvelle", "Quorvelle Fragment 1.", "Quorvelle 2"}) {
    boxes.shown.clear();
    EXPECT_FALSE(LooksLikeOwnFormat(Bytes(start), boxes)) << start;
    ASSERT_EQ(boxes.shown.size(), 1u) << start;
    EXPECT_EQ(boxes.shown[0].text, "Old Quorvelle file");
    EXPECT_EQ(boxes.shown[0].title, "Format unsupported");
    EXPECT_EQ(boxes.shown[0].style, mb::kOk | mb::kIconCritical);
  }
}

TEST_F(Recognition, CurrentFormatWinsOverTheOldMagic) {
  std::vector<uint8_t> both = Window(300, kOldFormatMagic, 0);
  std::copy(kFormatName.begin(), kFormatName.end(), both.begin() + 100);
  EXPECT_TRUE(LooksLikeOwnFormat(both, boxes));
  EXPECT_FALSE(LooksLikeOwnFormat(Bytes("Quorvell"), boxes));
  EXPECT_FALSE(LooksLikeOwnFormat(Bytes("xQuorvelle Fragment 1.0"), boxes));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(BrannockRecognition, DotBeforeTheFirstEscape) {
  const auto window = Bytes(
      "notes.txt\x1b"
      "data.with\x1b"
      "more");
  EXPECT_TRUE(LooksLikeBrannock(window));
  EXPECT_EQ(BrannockPrefix(window), "notes.txt\x1b");
  EXPECT_TRUE(LooksLikeBrannock(Bytes(".\x1b")));
}

TEST(BrannockRecognition, EscapeBeforeDotOrMissingIsNot) {
  EXPECT_FALSE(
      LooksLikeBrannock(Bytes("README\x1b"
                              "a.b")));
  EXPECT_FALSE(LooksLikeBrannock(Bytes("notes.txt")));
  EXPECT_FALSE(LooksLikeBrannock(Bytes("notes\x1b")));
  EXPECT_FALSE(LooksLikeBrannock({}));
  EXPECT_EQ(BrannockPrefix(Bytes("notes.txt")), "");
  EXPECT_EQ(BrannockPrefix(Bytes("README\x1b"
                                 "a.b")),
            "README\x1b");
}

TEST(BrannockRecognition, OnlyTheWindowCounts) {
  std::vector<uint8_t> window(400, 'n');
  window[1] = '.';
  window[299] = kEscape;
  EXPECT_TRUE(LooksLikeBrannock(window));
  EXPECT_EQ(BrannockPrefix(window).size(), 300u);
  window[299] = 'n';
  window[300] = kEscape;
  EXPECT_FALSE(LooksLikeBrannock(window));
  EXPECT_EQ(BrannockPrefix(window), "");
}

}  // namespace
}  // namespace vtq
