// split --recovery, repair, verify's count of what the recovery files could
// rebuild and assemble --repair, end to end.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "cli/commands.h"
#include "cli/series_recovery.h"
#include "cli/tests/command_test.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "app/operations/sha256.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/links.h"
#include "engine/tests/support/scratch.h"
#include "recovery/recovery_writer.h"
#include "recovery/tests/packet_writer.h"

namespace vtq::cli {
namespace {

using test::Bytes;

class RecoveryCommandTest : public CommandTest {
 protected:
  std::vector<Bytes> fragments;

  // 20 fragments of 10,240 bytes, the last one shorter.
  void SetUp() override {
    CommandTest::SetUp();
    data = test::PatternBytes(19 * 10240 + 5000, 11);
    test::WriteBytes(source, data);
  }
  int Split(std::vector<std::string> extra) {
    std::vector<std::string> args{source, "-d", out, "-s", "10240"};
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = Run(RunSplit, args);
    fragments.clear();
    for (int i = 1; FileExists(Frag("data." + FragmentNumber(i))); ++i)
      fragments.push_back(test::ReadBytes(Frag("data." + FragmentNumber(i))));
    return status;
  }
  std::string Name(int number) { return Frag("data." + FragmentNumber(number)); }
  void Damage(int number, size_t at) {
    Bytes bytes = test::ReadBytes(Name(number));
    bytes[at] ^= 0x20;
    test::WriteBytes(Name(number), bytes);
  }
  void ExpectSeriesAsSplit() {
    for (size_t i = 0; i < fragments.size(); ++i)
      EXPECT_EQ(test::ReadBytes(Name(static_cast<int>(i) + 1)), fragments[i]) << i + 1;
  }
  int Repair(std::vector<std::string> extra = {}) {
    std::vector<std::string> args{Name(1)};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(RunRepair, args);
  }
  bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
};

TEST_F(RecoveryCommandTest, SplitWritesTheRecoveryFilesBesideTheSeries) {
  ASSERT_EQ(Split({"--recovery", "10"}), 0) << err;
  ASSERT_EQ(fragments.size(), 20u);
  EXPECT_TRUE(Has(stdoutText, Frag("data.par2") + "\n" + Frag("data.vol0+1.par2") + "\n" +
                                  Frag("data.vol1+1.par2") + "\n"))
      << stdoutText;
  EXPECT_TRUE(Has(
      err, "vtq: 2 recovery slices of 10240 bytes for 20 fragments in " + Frag("data.par2") + "\n"))
      << err;
  // One slice a fragment: a volume is a fragment's size and its packets.
  EXPECT_GT(FileLength(Frag("data.vol0+1.par2")), 10240u);
  EXPECT_LT(FileLength(Frag("data.par2")), 10240u);

  ASSERT_EQ(Split({"--recovery-count", "5", "-c"}), 0) << err;
  EXPECT_TRUE(FileExists(Frag("data.vol3+2.par2")));
  EXPECT_TRUE(Has(err, "vtq: 5 recovery slices of 10240 bytes for 20 fragments")) << err;
}

TEST_F(RecoveryCommandTest, ASplitAgainReplacesTheRecoveryFilesOfTheSeriesBefore) {
  ASSERT_EQ(Split({"--recovery-count", "7"}), 0) << err;
  EXPECT_TRUE(FileExists(Frag("data.vol3+4.par2")));
  data = test::PatternBytes(data.size(), 12);
  test::WriteBytes(source, data);
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  EXPECT_FALSE(FileExists(Frag("data.vol3+4.par2")));
  RemoveFile(Name(6));
  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
  ASSERT_EQ(Split({}), 0) << err;
  EXPECT_FALSE(FileExists(Frag("data.par2")));
}

TEST_F(RecoveryCommandTest, FragmentsNotAllInTheFolderGetNoRecoveryFiles) {
  ASSERT_EQ(Split({}), 0) << err;
  RemoveFile(Name(3));  // as if on the disk before
  std::vector<std::string> names;
  for (int i = 1; i <= 20; ++i)
    names.push_back(Name(i));
  ProgressMeter meter(stderr, false);
  RecoveryAmount amount;
  amount.count = 2;
  testing::internal::CaptureStderr();
  EXPECT_EQ(WriteSeriesRecovery(names, amount, meter, false, stdout, stderr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "vtq: recovery files need every fragment of the series in one folder, and " + Name(3) +
                " is not there (a series written across disks); no recovery files were written\n");
  EXPECT_FALSE(FileExists(Frag("data.par2")));
}

TEST_F(RecoveryCommandTest, RecoveryOptionsOutOfRangeOrTogetherAreUsageErrors) {
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--recovery", "0"},
                                                {"--recovery", "101"},
                                                {"--recovery", "ten"},
                                                {"--recovery-count", "0"},
                                                {"--recovery-count", "70000"},
                                                {"--recovery", "10", "--recovery-count", "2"},
                                                {"--recovery", "10", "--regen", "2"}}) {
    EXPECT_EQ(Split(wrong), 2) << wrong[0];
  }
  EXPECT_EQ(err,
            "vtq: --recovery and --recovery-count need the whole series; they cannot go with "
            "--regen\n");
  EXPECT_FALSE(FileExists(Frag("data.par2")));
  EXPECT_EQ(Split({"--recovery", "12.5%"}), 0) << err;
  EXPECT_TRUE(Has(err, "vtq: 3 recovery slices")) << err;
}

TEST_F(RecoveryCommandTest, RepairRebuildsLostAndDamagedFragmentsAndSaysSo) {
  ASSERT_EQ(Split({"-c", "--recovery-count", "3"}), 0) << err;
  RemoveFile(Name(4));
  RemoveFile(Name(20));
  Damage(9, 500);
  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
  // The check digits speak first, then the recovery files.
  EXPECT_TRUE(
      Has(err, "vtq: fragment 9 (" + Name(9) + ") is damaged: its check digits do not match\n"))
      << err;
  EXPECT_TRUE(Has(err, "vtq: " + Name(9) + " is damaged (1 of 1 slices)\n")) << err;
  EXPECT_TRUE(Has(err, "vtq: " + Name(4) + " is missing\n")) << err;
  for (const int number : {4, 9, 20})
    EXPECT_TRUE(Has(stdoutText, "rebuilt: " + Name(number) + "\n")) << stdoutText;
  EXPECT_TRUE(Has(stdoutText, "sound: the series is whole again\n")) << stdoutText;
  EXPECT_TRUE(test::WorkingFilesIn(out).empty());

  EXPECT_EQ(Repair(), 0) << err;
  EXPECT_EQ(stdoutText, "sound: all 20 files of data.par2 checked; nothing to rebuild\n");
}

TEST_F(RecoveryCommandTest, RepairOfTheFirstFragmentAndWithoutCheckDigits) {
  ASSERT_EQ(Split({"--recovery-count", "1"}), 0) << err;
  RemoveFile(Name(1));
  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
  Damage(1, 3);  // in the header
  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
}

TEST_F(RecoveryCommandTest, OneLostMoreThanRecoverySlicesWritesNothingAndSaysWhy) {
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  RemoveFile(Name(2));
  RemoveFile(Name(3));
  Damage(17, 10);
  const Bytes damaged = test::ReadBytes(Name(17));
  EXPECT_EQ(Repair(), 1);
  EXPECT_TRUE(Has(err,
                  "vtq: nothing was rebuilt: the recovery files hold 2 sound recovery "
                  "slices, 3 are needed\n"))
      << err;
  for (const int number : {2, 3, 17})
    EXPECT_TRUE(Has(err, "vtq: could not rebuild " + Name(number) + "\n")) << err;
  EXPECT_FALSE(FileExists(Name(2)));
  EXPECT_EQ(test::ReadBytes(Name(17)), damaged);
  const auto names = test::NamesIn(out);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.ends_with(".rebuilding"); }),
            0);
}

TEST_F(RecoveryCommandTest, RepairWithoutRecoveryFilesOrWithADamagedVolume) {
  ASSERT_EQ(Split({}), 0) << err;
  EXPECT_EQ(Repair(), 1);
  EXPECT_TRUE(Has(err, "vtq: there are no recovery files " + Frag("data.par2") + "\n")) << err;
  EXPECT_EQ(Run(RunRepair, {}), 2);
  EXPECT_EQ(Repair({"--par2", ""}), 2);
  test::WriteBytes(Frag("data.par2"), test::PatternBytes(300, 1));
  test::WriteBytes(Frag("data.vol0+1.par2"), test::PatternBytes(300, 2));
  EXPECT_EQ(Repair(), 1);
  EXPECT_TRUE(
      Has(err, "vtq: " + Frag("data.par2") + " and its volumes hold no complete recovery set\n"))
      << err;
  // Files of those names that are not the series' own are not written over.
  EXPECT_EQ(Split({"--recovery-count", "3"}), 1);
  EXPECT_EQ(test::ReadBytes(Frag("data.par2")), test::PatternBytes(300, 1));
  RemoveFile(Frag("data.par2"));
  RemoveFile(Frag("data.vol0+1.par2"));

  ASSERT_EQ(Split({"--recovery-count", "3"}), 0) << err;
  Bytes volume = test::ReadBytes(Frag("data.vol1+2.par2"));
  volume[200] ^= 1;
  test::WriteBytes(Frag("data.vol1+2.par2"), volume);
  RemoveFile(Name(5));
  RemoveFile(Name(6));
  EXPECT_EQ(Repair(), 0) << err;
  EXPECT_TRUE(
      Has(err, "vtq: " + Frag("data.vol1+2.par2") + " is damaged; its sound packets are used\n"))
      << err;
  ExpectSeriesAsSplit();
}

TEST_F(RecoveryCommandTest, RepairFindsRecoveryFilesNamedByPar2) {
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  std::rename(Frag("data.par2").c_str(), Frag("other.par2").c_str());
  std::rename(Frag("data.vol0+1.par2").c_str(), Frag("other.vol0+1.par2").c_str());
  std::rename(Frag("data.vol1+1.par2").c_str(), Frag("other.vol1+1.par2").c_str());
  RemoveFile(Name(7));
  EXPECT_EQ(Repair(), 1);
  EXPECT_EQ(Repair({"--par2", Frag("other.par2")}), 0) << err;
  ExpectSeriesAsSplit();
}

TEST_F(RecoveryCommandTest, VerifySaysWhatTheRecoveryFilesCouldRebuild) {
  ASSERT_EQ(Split({"--recovery-count", "3"}), 0) << err;
  EXPECT_EQ(Run(RunVerify, {Name(1)}), 0) << err;
  EXPECT_TRUE(Has(stdoutText, "recovery: data.par2 and 2 volumes could rebuild 3 lost fragments\n"))
      << stdoutText;
  RemoveFile(Name(2));
  EXPECT_EQ(Run(RunVerify, {Name(1)}), 1);
  EXPECT_TRUE(Has(stdoutText,
                  "recovery: data.par2 and 2 volumes can rebuild the 1 fragment at "
                  "fault (vtq repair), and 2 more after that\n"))
      << stdoutText;
  RemoveFile(Name(3));
  RemoveFile(Name(4));
  RemoveFile(Name(5));
  EXPECT_EQ(Run(RunVerify, {Name(1)}), 1);
  EXPECT_TRUE(Has(stdoutText,
                  "recovery: data.par2 and 2 volumes hold 3 recovery slices, too "
                  "few for the 4 lost slices of the 4 files at fault\n"))
      << stdoutText;
}

TEST_F(RecoveryCommandTest, AssembleRepairsFirstWhenAskedTo) {
  ASSERT_EQ(Split({"-c", "--recovery-count", "2"}), 0) << err;
  RemoveFile(Name(11));
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--no"}), 1);
  EXPECT_TRUE(Has(err, "Rebuild them from its recovery files")) << err;
  EXPECT_TRUE(Has(err, "vtq: the series has recovery files: vtq repair " + Name(1))) << err;
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--repair"}), 0) << err;
  EXPECT_TRUE(Has(err, "rebuilt: " + Name(11))) << err;
  EXPECT_EQ(test::ReadBytes(Frag("data.bin")), data);
  RemoveFile(Frag("data.bin"));
  RemoveFile(Name(12));
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--yes"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Frag("data.bin")), data);
  // The first fragment itself, header and all.
  RemoveFile(Frag("data.bin"));
  RemoveFile(Name(1));
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--repair"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Frag("data.bin")), data);
}

// Recovery sets that whoever may write into the series' folder could leave
// there: they name files of the series' folder other than its fragments,
// fragments its own checks prove good, files behind a linked folder.
class HostileSetCommandTest : public RecoveryCommandTest {
 protected:
  // A sound set over files of these names and contents, made elsewhere and
  // put beside the series.
  void PlantSet(const std::vector<std::pair<std::string, Bytes>>& files) {
    test::ScratchDir forge;
    recovery::RecoveryRequest request;
    for (const auto& [name, content] : files) {
      test::WriteBytes(forge / name, content);
      request.files.push_back(forge / name);
    }
    request.prefix = forge / "data.";
    request.sliceSize = 10240;
    request.recoverySlices = static_cast<uint32_t>(files.size());
    for (const std::string& written : recovery::WriteRecoveryFiles(request).files)
      test::WriteBytes(Frag(BaseName(written)), test::ReadBytes(written));
  }
  static Bytes Changed(Bytes bytes) {
    bytes.at(100) ^= 0xFF;
    return bytes;
  }
};

TEST_F(HostileSetCommandTest, AFragmentTheChecksumFileVouchesForAndTheChecksumFileStayAsTheyAre) {
  ASSERT_EQ(Split({"--sha256"}), 0) << err;
  const Bytes sums = test::ReadBytes(Frag("data.sha256"));
  // The forger's checksum file agrees with the forger's fragment 2.
  const Bytes forged = Changed(fragments[1]);
  test::WriteBytes(Frag("forged.002"), forged);
  std::string forgedSums(sums.begin(), sums.end());
  const std::string digest = Sha256OfFile(Name(2));
  forgedSums.replace(forgedSums.find(digest), digest.size(), Sha256OfFile(Frag("forged.002")));
  RemoveFile(Frag("forged.002"));
  PlantSet({{"data.002", forged}, {"data.sha256", Bytes(forgedSums.begin(), forgedSums.end())}});

  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
  EXPECT_EQ(test::ReadBytes(Frag("data.sha256")), sums);
  EXPECT_TRUE(Has(err, "vtq: " + Name(2) +
                           " differs from the recovery files, but the series' own checks prove it "
                           "good; it is left as it is\n"))
      << err;
  EXPECT_TRUE(Has(err, "vtq: " + Frag("data.sha256") +
                           " is not a fragment of the series; it is left as it is\n"))
      << err;
  EXPECT_EQ(Run(RunVerify, {Name(1)}), 0) << err;
  EXPECT_TRUE(Has(stdoutText, "recovery: data.par2 and 2 volumes disagree with " + Name(2) +
                                  ", which the series' own checks prove good\n"))
      << stdoutText;
}

TEST_F(HostileSetCommandTest, TheSourceAndOtherFilesBesideTheSeriesAreNeverRewritten) {
  ASSERT_EQ(Split({}), 0) << err;
  test::WriteBytes(Frag("data.bin"), data);
  test::WriteText(Frag("notes.txt"), std::string(300, 'n'));
  const Bytes notes = test::ReadBytes(Frag("notes.txt"));
  PlantSet({{"data.bin", Changed(data)}, {"notes.txt", Changed(notes)}});
  EXPECT_EQ(Repair(), 0) << err;
  EXPECT_EQ(test::ReadBytes(Frag("data.bin")), data);
  EXPECT_EQ(test::ReadBytes(Frag("notes.txt")), notes);
  EXPECT_TRUE(Has(
      err, "vtq: " + Frag("data.bin") + " is not a fragment of the series; it is left as it is\n"))
      << err;
  ExpectSeriesAsSplit();
}

TEST_F(HostileSetCommandTest, NothingBehindALinkedFolderIsWritten) {
  ASSERT_EQ(Split({}), 0) << err;
  test::ScratchDir outside;
  test::WriteText(outside / "victim", "precious");
  test::PlantLink(Frag("link"), outside.Path());
  // A set of one file of one slice: its one recovery slice (exponent 0) is
  // the slice itself.
  recovery::test::SetWriter set(16);
  const Bytes rebuilt(16, 'X');
  set.Describe("link/victim", rebuilt);
  Bytes bytes = set.Critical();
  recovery::test::Append(bytes, set.RecoverySlice(0, rebuilt));
  test::WriteBytes(Frag("data.par2"), bytes);
  EXPECT_EQ(Repair(), 0) << err;
  EXPECT_EQ(test::ReadBytes(outside / "victim"), Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(test::NamesIn(outside.Path()), std::vector<std::string>{"victim"});
  EXPECT_TRUE(Has(err, "is not a fragment of the series; it is left as it is\n")) << err;
  // A planted recovery file is no set of the series: split --recovery
  // writes nothing rather than over it.
  test::PlantLink(Frag("data.vol0+1.par2"), outside / "victim");
  EXPECT_EQ(Split({"--recovery-count", "1"}), 1);
  EXPECT_EQ(test::ReadBytes(outside / "victim"), Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
}

TEST_F(RecoveryCommandTest, VerifyIsNotSoundWhenTheRecoveryFilesFindAFragmentAtFault) {
  // Neither check digits nor a checksum file: only the recovery files see
  // a byte changed in place.
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  Damage(5, 300);
  EXPECT_EQ(Run(RunVerify, {Name(1)}), 1);
  EXPECT_TRUE(
      Has(err, "vtq: fragment 5 (" + Name(5) + ") is not as the recovery files describe it\n"))
      << err;
  EXPECT_TRUE(Has(stdoutText, "not sound: 1 of 20 fragments at fault (20 fragments checked)\n"))
      << stdoutText;
  EXPECT_TRUE(Has(stdoutText,
                  "recovery: data.par2 and 2 volumes can rebuild the 1 fragment at fault (vtq "
                  "repair), and 1 more after that\n"))
      << stdoutText;
}

TEST_F(RecoveryCommandTest, AnAssemblyWithoutTheRebuildingItWasOfferedIsNoSuccess) {
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  Bytes cut = fragments[1];
  cut.resize(6000);
  test::WriteBytes(Name(2), cut);
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--no"}), 1);
  EXPECT_TRUE(Has(err, "answered No") || Has(err, "Rebuild them")) << err;
  EXPECT_TRUE(
      Has(err, "vtq: the recovery files find " + Name(2) + " missing or not of its length\n"))
      << err;
  EXPECT_TRUE(Has(err, "vtq repair " + Name(1) + " rebuilds them\n")) << err;
  EXPECT_EQ(Run(RunAssemble, {Name(1), "--yes"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Frag("data.bin")), data);
}

TEST_F(RecoveryCommandTest, RepairsVerdictIsVerifysAWrongPassphraseIsNotSound) {
  ASSERT_EQ(Split({"-c", "-p", "right one", "--recovery-count", "1"}), 0) << err;
  RemoveFile(Name(3));
  EXPECT_EQ(Repair({"-p", "wrong one"}), 1);
  EXPECT_TRUE(Has(stdoutText, "rebuilt: " + Name(3))) << stdoutText;
  EXPECT_TRUE(Has(err,
                  "Access denied: Passphrase incorrect (the check digits were not "
                  "checked)\nvtq: the series is not sound\n"))
      << err;
  EXPECT_FALSE(Has(stdoutText, "sound: the series is whole again")) << stdoutText;
  EXPECT_EQ(Run(RunVerify, {Name(1), "-p", "wrong one"}), 1);
  EXPECT_EQ(Repair({"-p", "right one"}), 0) << err;
}

TEST_F(RecoveryCommandTest, RecoveryFilesElsewhereRebuildTheFragmentsBesideTheSeries) {
  ASSERT_EQ(Split({"--recovery-count", "2"}), 0) << err;
  const std::string elsewhere = dir / "elsewhere";
  test::MakeFolder(elsewhere);
  for (const char* name : {"data.par2", "data.vol0+1.par2", "data.vol1+1.par2"})
    std::rename(Frag(name).c_str(), (WithTrailingSeparator(elsewhere) + name).c_str());
  RemoveFile(Name(4));
  Damage(9, 20);
  EXPECT_EQ(Repair({"--par2", WithTrailingSeparator(elsewhere) + "data.par2"}), 0) << err;
  ExpectSeriesAsSplit();
  EXPECT_EQ(test::NamesIn(elsewhere),
            (std::vector<std::string>{"data.par2", "data.vol0+1.par2", "data.vol1+1.par2"}));
}

#ifdef VTQ_PAR2_PROGRAM
TEST_F(RecoveryCommandTest, Par2AcceptsWhatSplitWroteAndRepairUsesWhatPar2Made) {
  ASSERT_EQ(Split({"--recovery", "10"}), 0) << err;
  const std::string inFolder = "cd '" + out + "' && '" VTQ_PAR2_PROGRAM "' ";
  EXPECT_EQ(std::system((inFolder + "verify -q -q data.par2").c_str()), 0);
  RemoveFile(Name(2));
  RemoveFile(Name(19));
  EXPECT_EQ(std::system((inFolder + "repair -q -q data.par2").c_str()), 0);
  ExpectSeriesAsSplit();

  for (const char* name : {"data.par2", "data.vol0+1.par2", "data.vol1+1.par2"})
    RemoveFile(Frag(name));
  ASSERT_EQ(std::system((inFolder + "create -q -q -s10240 -c4 data.par2 data.0*").c_str()), 0);
  RemoveFile(Name(1));
  RemoveFile(Name(8));
  Damage(13, 9000);
  EXPECT_EQ(Repair(), 0) << err;
  ExpectSeriesAsSplit();
}
#elif !defined(_WIN32)  // the Windows build meets par2 in tests/par2_peer_wine.sh
TEST_F(RecoveryCommandTest, Par2AcceptsWhatSplitWroteAndRepairUsesWhatPar2Made) {
  GTEST_SKIP() << "par2 (par2cmdline) is not installed on this build machine";
}
#endif

}  // namespace
}  // namespace vtq::cli
