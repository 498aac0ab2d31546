// The checksum file: the lines sha256sum writes, read back, and the file a
// split writes checked by the real sha256sum where it is installed.

#include "app/operations/checksum_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/operations/sha256.h"
#include "base/code_page.h"
#include "engine/path.h"
#include "engine/tests/support/scratch.h"

namespace vtq {
namespace {

constexpr const char* kEmptyDigest =
    "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr const char* kAbcDigest =
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

TEST(Sha256Test, KnownDigestsInPiecesOrWhole) {
  EXPECT_EQ(Sha256().HexDigest(), kEmptyDigest);
  Sha256 pieces;
  pieces.Update("a", 1);
  pieces.Update("bc", 2);
  EXPECT_EQ(pieces.HexDigest(), kAbcDigest);
  test::ScratchDir dir;
  test::WriteText(dir / "abc", "abc");
  EXPECT_EQ(Sha256OfFile(dir / "abc"), kAbcDigest);
}

TEST(ChecksumFileTest, LinesAreSha256sumsAndReadBack) {
  SeriesChecksums sums{{kAbcDigest, "data.bin"}, {{kEmptyDigest, "data.001"}}};
  const std::string text = FormatChecksums(sums);
  EXPECT_EQ(text, std::string(kAbcDigest) + "  data.bin\n" + kEmptyDigest + "  data.001\n");
  const auto back = ParseChecksums(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->source.name, "data.bin");
  ASSERT_EQ(back->fragments.size(), 1u);
  EXPECT_EQ(back->fragments[0].digest, kEmptyDigest);

  // A name with a backslash or a line break is escaped as sha256sum does.
  sums.source.name = "a\\b\nc";
  const std::string escaped = FormatChecksums(sums);
  EXPECT_EQ(escaped.substr(0, 1), "\\");
  EXPECT_NE(escaped.find("  a\\\\b\\nc\n"), std::string::npos);
  EXPECT_EQ(ParseChecksums(escaped)->source.name, "a\\b\nc");
}

TEST(ChecksumFileTest, BinaryMarksUppercaseAndCarriageReturnsAreReadHostileLinesAreNot) {
  std::string upper(kAbcDigest);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto read = ParseChecksums(upper + " *data.bin\r\n\r\n");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->source.digest, kAbcDigest);
  EXPECT_EQ(read->source.name, "data.bin");
  EXPECT_FALSE(ParseChecksums(""));
  EXPECT_FALSE(ParseChecksums("abc  data.bin\n"));
  EXPECT_FALSE(ParseChecksums(std::string(kAbcDigest) + "data.bin\n"));
  EXPECT_FALSE(ParseChecksums(std::string(64, 'g') + "  data.bin\n"));
  EXPECT_FALSE(ParseChecksums("\\" + std::string(kAbcDigest) + "  bad\\q\n"));
}

// UTF-8 names as sha256sum writes them; a name an earlier version wrote in
// the ANSI code page reads as that page says.
TEST(ChecksumFileTest, NamesAreUtf8AndOlderCodePageNamesReadAsTheyWereMeant) {
  const std::string greek = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt";  // Ωμέγα.txt
  const SeriesChecksums sums{{kAbcDigest, greek},
                             {{kEmptyDigest, "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.001"}}};
  const std::string text = FormatChecksums(sums);
  EXPECT_EQ(text.substr(64, 2 + greek.size() + 1), "  " + greek + "\n");
  EXPECT_EQ(ParseChecksums(text)->source.name, greek);
  const auto older = ParseChecksums(std::string(kAbcDigest) + "  caf\xE9.txt\n");
  ASSERT_TRUE(older);
  EXPECT_EQ(older->source.name, base::AnsiCodePage().Decode("caf\xE9.txt"));
}

TEST(ChecksumFileTest, TheWrittenFileIsCheckedBySha256sumItself) {
  test::ScratchDir dir;
  test::WriteText(dir / "data.bin", "the source");
  test::WriteText(dir / "data.001", "the ");
  test::WriteText(dir / "data.002", "source");
  const std::string name = WriteSeriesChecksums(dir / "data.bin", dir / "data.001", 2);
  EXPECT_EQ(name, dir / "data.sha256");
  SeriesChecksums read;
  ASSERT_EQ(ReadSeriesChecksums(dir / "data.001", read), ChecksumFileState::kRead);
  EXPECT_EQ(read.source.name, "data.bin");
  EXPECT_EQ(read.fragments.size(), 2u);
#ifndef _WIN32
  if (std::system("command -v sha256sum >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "sha256sum is not installed";
  const std::string check = "cd '" + dir.Path() + "' && sha256sum --quiet -c data.sha256";
  EXPECT_EQ(std::system(check.c_str()), 0);
  test::WriteText(dir / "data.002", "s0urce");
  EXPECT_NE(std::system((check + " 2>/dev/null >/dev/null").c_str()), 0);
#endif
}

TEST(ChecksumFileTest, AbsentAndUnreadableFilesAreToldApart) {
  test::ScratchDir dir;
  SeriesChecksums read;
  EXPECT_EQ(ReadSeriesChecksums(dir / "data.001", read), ChecksumFileState::kAbsent);
  test::WriteText(dir / "data.sha256", "nonsense\n");
  EXPECT_EQ(ReadSeriesChecksums(dir / "data.001", read), ChecksumFileState::kUnreadable);
}

}  // namespace
}  // namespace vtq
