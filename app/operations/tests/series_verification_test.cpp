// Checking a series without assembling it, and the assemble command's look
// for missing fragments before it writes anything: series made by the split
// command, then taken apart.

#include "app/operations/series_verification.h"

#include <gtest/gtest.h>

#include <set>

#include "app/operations/assemble_operation.h"
#include "app/operations/checksum_file.h"
#include "app/operations/sha256.h"
#include "app/operations/split_operation.h"
#include "app/operations/tests/recording_prompts.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"

namespace vtq {
namespace {

using test::Bytes;

class SeriesVerificationTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  Bytes data = test::PatternBytes(50000, 9);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  test::RecordingPrompts prompts;
  std::string source = dir / "data.bin";
  std::string folder = dir / "series";

  void SetUp() override {
    test::WriteBytes(source, data);
    test::MakeFolder(folder);
  }
  std::string Fragment(int i) {
    return WithTrailingSeparator(folder) + "data." + FragmentNumber(i);
  }
  // 50,000 bytes in fragments of 10,240: five of them.
  void Split(AftFileFormat format, bool checkDigits, std::optional<std::string> passphrase = {},
             bool checksums = false) {
    SplitRequest request;
    request.source = source;
    request.destination = folder;
    request.fragmentSize = 10240;
    request.format = format;
    request.checkDigits = checkDigits;
    request.passphrase = std::move(passphrase);
    request.writeChecksums = checksums;
    test::RecordingSplitterEvents events;
    const SplitResult result = RunSplitCommand(request, globals, events, prompts);
    ASSERT_EQ(result.stop, SplitStop::kNone);
    ASSERT_TRUE(result.Complete());
  }
  VerifyReport Verify(std::optional<std::string> passphrase = {}) {
    VerifyRequest request;
    request.firstFragment = Fragment(1);
    request.passphrase = std::move(passphrase);
    return VerifySeries(request, globals);
  }
  void Change(int fragment, size_t at) {
    Bytes bytes = test::ReadBytes(Fragment(fragment));
    bytes.at(at) ^= 0x55;
    test::WriteBytes(Fragment(fragment), bytes);
  }
  void Truncate(int fragment, size_t keep) {
    Bytes bytes = test::ReadBytes(Fragment(fragment));
    bytes.resize(keep);
    test::WriteBytes(Fragment(fragment), bytes);
  }
};

TEST_F(SeriesVerificationTest, SoundSeriesOfEveryKindPass) {
  Split(aftQuorvelle, true, std::string("open sesame"), true);
  VerifyReport report = Verify(std::string("open sesame"));
  EXPECT_TRUE(report.Sound());
  EXPECT_EQ(report.fragments, 5);
  EXPECT_TRUE(report.checkDigitsChecked);
  EXPECT_TRUE(report.digestsChecked);
  EXPECT_EQ(report.sourceName, "data.bin");

  // A series split again without checksums takes the older series' file,
  // which would no longer agree, away with it.
  Split(aftRaw, false);
  EXPECT_FALSE(FileExists(ChecksumFileName(Fragment(1))));
  report = Verify();
  EXPECT_TRUE(report.Sound());
  EXPECT_EQ(report.format, aftRaw);
  EXPECT_EQ(report.fragments, 5);
  EXPECT_FALSE(report.checkDigitsChecked);
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(SeriesVerificationTest, MissingFragmentsAreNamedEvenBeyondAGapInAHeaderlessSeries) {
  for (const AftFileFormat format : {aftQuorvelle, aftRaw}) {
    Split(format, false);
    RemoveFile(Fragment(2));
    RemoveFile(Fragment(4));
    const VerifyReport report = Verify();
    EXPECT_FALSE(report.Sound());
    EXPECT_EQ(report.fragments, 5);
    ASSERT_EQ(report.findings.size(), 2u);
    EXPECT_EQ(report.findings[0].fault, FragmentFault::kMissing);
    EXPECT_EQ(report.findings[0].number, 2);
    EXPECT_EQ(report.findings[0].name, Fragment(2));
    EXPECT_EQ(report.findings[1].number, 4);
    EXPECT_EQ(report.FaultyFragments(), (std::vector<int>{2, 4}));
  }
  // The own format knows its last fragment from its header.
  Split(aftQuorvelle, false);
  RemoveFile(Fragment(5));
  EXPECT_EQ(Verify().FaultyFragments(), std::vector<int>{5});
}

TEST_F(SeriesVerificationTest, TruncatedAndOverlongFragmentsAreMeasuredAgainstTheOthers) {
  Split(aftQuorvelle, true);
  Truncate(3, 5000);
  const Bytes last = test::ReadBytes(Fragment(5));
  test::WriteBytes(Fragment(5), test::Concat(last, Bytes(20000, 1)));
  const VerifyReport report = Verify();
  EXPECT_FALSE(report.Sound());
  std::vector<std::pair<int, FragmentFault>> found;
  for (const FragmentFinding& f : report.findings)
    found.emplace_back(f.number, f.fault);
  // Both have lost their check digits' agreement too.
  EXPECT_EQ(found, (std::vector<std::pair<int, FragmentFault>>{{3, FragmentFault::kWrongLength},
                                                               {3, FragmentFault::kCheckDigits},
                                                               {5, FragmentFault::kWrongLength},
                                                               {5, FragmentFault::kCheckDigits}}));
  EXPECT_EQ(report.findings[0].length, 5000u);
  EXPECT_EQ(report.findings[0].expected, 10240u);
  EXPECT_EQ(report.findings[2].expected, 10240u);
}

TEST_F(SeriesVerificationTest, ADamagedByteIsFoundByCheckDigitsAndByTheDigest) {
  Split(aftQuorvelle, true, {}, true);
  Change(2, 100);
  VerifyReport report = Verify();
  ASSERT_EQ(report.findings.size(), 2u);
  EXPECT_EQ(report.findings[0].number, 2);
  EXPECT_EQ(report.findings[1].number, 2);
  EXPECT_NE(report.findings[0].fault, report.findings[1].fault);

  // Without check digits the checksum file alone finds it; the header of
  // fragment 1 is covered by the digest too.
  Split(aftRaw, false, {}, true);
  Change(1, 0);
  report = Verify();
  ASSERT_EQ(report.findings.size(), 1u);
  EXPECT_EQ(report.findings[0].number, 1);
  EXPECT_EQ(report.findings[0].fault, FragmentFault::kDigest);
  EXPECT_FALSE(report.Sound());
}

TEST_F(SeriesVerificationTest, AWrongPassphraseIsReportedAndTheCheckDigitsLeftAlone) {
  Split(aftQuorvelle, true, std::string("open sesame"));
  Change(4, 10);
  const VerifyReport wrong = Verify(std::string("open sesamf"));
  EXPECT_TRUE(wrong.encrypted);
  EXPECT_TRUE(wrong.passphraseRejected);
  EXPECT_FALSE(wrong.checkDigitsChecked);
  EXPECT_TRUE(wrong.findings.empty());
  EXPECT_FALSE(wrong.Sound());
  const VerifyReport right = Verify(std::string("open sesame"));
  EXPECT_FALSE(right.passphraseRejected);
  EXPECT_EQ(right.FaultyFragments(), std::vector<int>{4});
}

TEST_F(SeriesVerificationTest, AnUnreadableChecksumFileIsNotSound) {
  Split(aftRaw, false);
  test::WriteText(ChecksumFileName(Fragment(1)), "not a digest  data.001\n");
  const VerifyReport report = Verify();
  EXPECT_TRUE(report.checksumFileUnreadable);
  EXPECT_FALSE(report.Sound());
}

TEST_F(SeriesVerificationTest, AssembleNamesEveryMissingFragmentBeforeWritingAnything) {
  Split(aftRaw, false);
  RemoveFile(Fragment(2));
  RemoveFile(Fragment(4));
  AssembleRequest request;
  request.firstFragment = Fragment(1);
  request.destination = dir / "joined";
  request.unknownAs = aftRaw;
  test::MakeFolder(request.destination);
  test::CountingWatcher watcher;
  const AssembleResult result = RunAssembleCommand(request, globals, watcher, prompts);
  EXPECT_EQ(result.stop, AssembleStop::kFragmentsMissing);
  EXPECT_EQ(result.missingFragments, (std::vector<std::string>{Fragment(2), Fragment(4)}));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Fragments missing");
  EXPECT_EQ(doubles.boxes.shown[0].text, "These fragments were not found: " + Fragment(2) + ", " +
                                             Fragment(4) + ". Nothing was assembled.");
  EXPECT_TRUE(test::NamesIn(request.destination).empty());
  EXPECT_EQ(FragmentsMissingText({"a.003"}),
            "Fragment a.003 was not found. Nothing was assembled.");
}

TEST_F(SeriesVerificationTest, AssembleChecksTheResultAgainstTheChecksumFile) {
  Split(aftQuorvelle, false, {}, true);
  AssembleRequest request;
  request.firstFragment = Fragment(1);
  request.destination = dir / "joined";
  test::MakeFolder(request.destination);
  test::CountingWatcher watcher;
  AssembleResult result = RunAssembleCommand(request, globals, watcher, prompts);
  EXPECT_EQ(result.stop, AssembleStop::kNone);
  EXPECT_EQ(result.checksum, ChecksumVerdict::kMatches);
  EXPECT_EQ(result.checksumFile, WithTrailingSeparator(folder) + "data.sha256");

  // A fragment changed consistently with the header's flags (no check
  // digits) assembles, but not into the source.
  Change(3, 7);
  result = RunAssembleCommand(request, globals, watcher, prompts);
  EXPECT_EQ(result.stop, AssembleStop::kNone);
  EXPECT_EQ(result.checksum, ChecksumVerdict::kDiffers);
}

TEST_F(SeriesVerificationTest, AFragmentOfAnyLengthIsCheckedWithoutBeingHeldWhole) {
  // A checkable series: no fragment of it is longer than 100 MiB and its
  // digits, so a longer one is damaged without being read.
  Split(aftQuorvelle, true);
  {
    // Sparse where the file system allows: the zeros cost nothing.
    File sparse(Fragment(2), File::Mode::kReplace);
    sparse.Seek((uint64_t{64} << 30) - 1);
    sparse.Write("", 1);
  }
  VerifyReport report = Verify();
  EXPECT_EQ(report.FaultyFragments(), std::vector<int>{2});
  EXPECT_EQ(report.findings.at(0).fault, FragmentFault::kWrongLength);
  EXPECT_EQ(report.provenGood, (std::set<int>{1, 3, 4, 5}));

  // Digests are taken piece by piece, across the pieces' borders.
  Split(aftRaw, false, {}, true);
  Bytes long3 = test::PatternBytes((3u << 20) + 5, 77);
  test::WriteBytes(Fragment(3), long3);
  SeriesChecksums sums;
  ASSERT_EQ(ReadSeriesChecksums(Fragment(1), sums), ChecksumFileState::kRead);
  sums.fragments[2].digest = Sha256OfFile(Fragment(3));
  Sha256 whole;
  whole.Update(long3.data(), long3.size());
  EXPECT_EQ(sums.fragments[2].digest, whole.HexDigest());
  test::WriteText(ChecksumFileName(Fragment(1)), FormatChecksums(sums));
  report = Verify();
  ASSERT_EQ(report.findings.size(), 1u);
  EXPECT_EQ(report.findings[0].fault, FragmentFault::kWrongLength);
  long3[(2u << 20) + 1] ^= 1;
  test::WriteBytes(Fragment(3), long3);
  report = Verify();
  ASSERT_EQ(report.findings.size(), 2u);
  EXPECT_EQ(report.findings[1].fault, FragmentFault::kDigest);
}

TEST_F(SeriesVerificationTest, WhatTheSeriesOwnChecksProveGoodNoRecoverySetOverrules) {
  Split(aftQuorvelle, true, {}, true);
  Change(3, 50);
  VerifyReport report = Verify();
  EXPECT_EQ(report.provenGood, (std::set<int>{1, 2, 4, 5}));
  const std::string sums = ChecksumFileName(Fragment(1));
  const std::string elsewhere = WithTrailingSeparator(dir / "sub") + "data.004";
  RecoveryFaults faults = SortRecoveryFaults(
      report, Fragment(1), {Fragment(2), Fragment(3), sums, elsewhere, Fragment(9), source});
  ASSERT_EQ(faults.fragments.size(), 1u);
  EXPECT_EQ(faults.fragments[0].number, 3);
  EXPECT_EQ(faults.fragments[0].name, Fragment(3));
  EXPECT_EQ(faults.provenGood, std::vector<std::string>{Fragment(2)});
  // Not fragments of this series: its side files, other folders, numbers
  // beyond its header's count, other files.
  EXPECT_EQ(faults.others, (std::vector<std::string>{sums, elsewhere, Fragment(9), source}));
  // Already found by the check digits: no second finding.
  const size_t before = report.findings.size();
  AddRecoveryFindings(report, faults);
  EXPECT_EQ(report.findings.size(), before);

  // Without a header the series ends where its fragments end, and only the
  // recovery files find a fragment damaged in place.
  Split(aftRaw, false);
  Change(2, 50);
  RemoveFile(Fragment(5));
  report = Verify();
  EXPECT_TRUE(report.provenGood.empty());
  faults = SortRecoveryFaults(report, Fragment(1), {Fragment(2), Fragment(5)});
  EXPECT_EQ(faults.fragments.size(), 2u);
  EXPECT_TRUE(report.Sound());
  AddRecoveryFindings(report, faults);
  EXPECT_FALSE(report.Sound());
  EXPECT_EQ(report.FaultyFragments(), (std::vector<int>{2, 5}));
  EXPECT_EQ(report.findings[0].fault, FragmentFault::kRecoveryFiles);
}

}  // namespace
}  // namespace vtq
