// vtq split end to end on scratch folders: fragments, formats, exit codes.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/commands.h"
#include "cli/passphrase_prompt.h"
#include "cli/tests/environment.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/scratch.h"

namespace vtq::cli {
namespace {

using Bytes = std::vector<uint8_t>;

class SplitCommandTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::string out = dir / "out";
  std::string source = dir / "data.bin";
  Bytes data = test::PatternBytes(30000, 5);

  void SetUp() override {
    test::MakeFolder(out);
    test::WriteBytes(source, data);
  }
  std::string err;
  std::string printed;

  std::string Out(const std::string& name) { return WithTrailingSeparator(out) + name; }
  int Split(std::vector<std::string> extra) {
    std::vector<std::string> args{source, "-d", out};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunSplit(args);
  }
  // Split with standard output and error captured.
  int Captured(std::vector<std::string> args) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const int status = RunSplit(std::move(args));
    printed = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return status;
  }
  int Entries(const std::string& folder) {
    const std::filesystem::directory_iterator all(folder);
    return static_cast<int>(std::distance(begin(all), end(all)));
  }
};

TEST_F(SplitCommandTest, RawFragmentsJoinToTheSource) {
  ASSERT_EQ(Split({"-f", "raw", "-s", "10k"}), 0);
  Bytes joined;
  for (const char* name : {"data.001", "data.002", "data.003"}) {
    const Bytes part = test::ReadBytes(Out(name));
    joined.insert(joined.end(), part.begin(), part.end());
  }
  EXPECT_EQ(joined, data);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 10240u);
  EXPECT_FALSE(FileExists(Out("data.004")));
}

TEST_F(SplitCommandTest, OwnFormatByDefaultWithTheDefaultSize) {
  ASSERT_EQ(Split({}), 0);
  const Bytes first = test::ReadBytes(Out("data.001"));
  EXPECT_EQ(first.size(), 30000u + 8 + 64);
  EXPECT_EQ(std::string(first.begin() + 2, first.begin() + 38),
            "Quorvelle Extendable Fragment Format");
}

TEST_F(SplitCommandTest, FirstSizeOlderFormatAndCheckDigits) {
  ASSERT_EQ(Split({"-f", "own", "--first-size", "12000", "-s", "10240", "-c"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 12000u);
  EXPECT_EQ(test::ReadBytes(Out("data.002")).size(), 10240u);
  ASSERT_EQ(Split({"-f", "old", "-s", "10240"}), 0);
  const Bytes first = test::ReadBytes(Out("data.001"));
  EXPECT_EQ(std::string(first.begin(), first.begin() + 9), std::string("data.bin") + char{27});
}

TEST_F(SplitCommandTest, AnEncryptedSeriesDiffersFromThePlainOne) {
  test::WriteText(dir / "pw", "open sesame\n");
  ASSERT_EQ(Split({"-s", "10240", "--passphrase-file", dir / "pw"}), 0);
  const Bytes viaFile = test::ReadBytes(Out("data.002"));
  ASSERT_EQ(Split({"-s", "10240", "-p", "open sesame"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.002")), viaFile);
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  EXPECT_NE(test::ReadBytes(Out("data.002")), viaFile);
}

TEST_F(SplitCommandTest, RawAndOldSeriesRefuseWhatNoAssemblerCouldUndo) {
  test::WriteText(dir / "pw", "open sesame\n");
  const std::string checkDigits =
      "vtq: check digits (-c) need the own format (-f own): a raw or old series has no header to "
      "record them\n";
  const std::string encryption =
      "vtq: a passphrase (-p, --passphrase-file, --ask-passphrase) needs the own format (-f own): "
      "a raw or old series has no header to record the encryption\n";
  for (const char* format : {"raw", "old"}) {
    EXPECT_EQ(Captured({source, "-d", out, "-f", format, "-c"}), 2);
    EXPECT_EQ(err, checkDigits);
    EXPECT_EQ(Captured({source, "-d", out, "-f", format, "-p", "pw"}), 2);
    EXPECT_EQ(err, encryption);
    EXPECT_EQ(Captured({source, "-d", out, "-f", format, "--passphrase-file", dir / "pw"}), 2);
    EXPECT_EQ(err, encryption);
    EXPECT_EQ(Captured({source, "-d", out, "-f", format, "-P"}), 2);
    EXPECT_EQ(err, encryption);
  }
  EXPECT_EQ(Entries(out), 0);
}

TEST_F(SplitCommandTest, ThePassphraseVariableEncryptsWhenNoOptionGivesOne) {
  ASSERT_EQ(Split({"-s", "10240", "-p", "open sesame"}), 0);
  const Bytes withOption = test::ReadBytes(Out("data.002"));
  ASSERT_EQ(Split({"-s", "10240", "-p", "other"}), 0);
  const Bytes withOther = test::ReadBytes(Out("data.002"));
  const ScopedVariable variable("VTQ_PASSPHRASE", "open sesame");
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.002")), withOption);
  // An option wins over the variable.
  ASSERT_EQ(Split({"-s", "10240", "-p", "other"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.002")), withOther);
  // A raw series is not encrypted by a standing variable; it says so.
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "10240"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.002")), Bytes(data.begin() + 10240, data.begin() + 20480));
  EXPECT_TRUE(
      err.starts_with("vtq: VTQ_PASSPHRASE is not used: a raw or old series cannot be encrypted\n"))
      << err;
}

TEST_F(SplitCommandTest, AskingForThePassphraseNeedsATerminalThatAnswers) {
  // No terminal (or Wine's console, ending its input at once): nothing written.
  EXPECT_EQ(Captured({source, "-d", out, "-P"}), 2);
  EXPECT_TRUE(err == "vtq: --ask-passphrase needs a terminal to read the passphrase from\n" ||
              err.ends_with("vtq: no passphrase was typed\n"))
      << err;
  EXPECT_EQ(Captured({source, "-d", out, "--ask-passphrase", "-p", "x"}), 2);
  EXPECT_EQ(err, "vtq: -p, --passphrase-file and --ask-passphrase exclude each other\n");
  EXPECT_EQ(Entries(out), 0);
}

TEST_F(SplitCommandTest, RegenerationRewritesOnlyThatFragment) {
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  const Bytes second = test::ReadBytes(Out("data.002"));
  std::filesystem::remove(Out("data.001"));
  std::filesystem::remove(Out("data.002"));
  ASSERT_EQ(Split({"-s", "10240", "--regen", "2"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.002")), second);
  EXPECT_FALSE(FileExists(Out("data.001")));
  EXPECT_EQ(Split({"-s", "10240", "--regen", "9"}), 2);
}

TEST_F(SplitCommandTest, BatWritesTheJoiningBatchFileBesideARawSeries) {
  ASSERT_EQ(Split({"-f", "raw", "-s", "10240", "--bat"}), 0);
  const Bytes bat = test::ReadBytes(Out("data.BAT"));
  const std::string text(bat.begin(), bat.end());
  EXPECT_NE(text.find("\"data.001\" + \"data.002\" + \"data.003\""), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");  // the text's own line end and one more
}

TEST_F(SplitCommandTest, ABatchFileThatWouldBeTheSourceIsRefusedBeforeAnythingIsWritten) {
  // Windows names ignore case: setup.bat is the file setup.BAT names.
#ifdef _WIN32
  const std::string inPlace = Out("setup.bat");
#else
  const std::string inPlace = Out("setup.BAT");
#endif
  test::WriteBytes(inPlace, data);
  EXPECT_EQ(Captured({inPlace, "-d", out, "-f", "raw", "-s", "10240", "--bat"}), 1);
  EXPECT_EQ(err, "Source would be overwritten: The batch file " + Out("setup.BAT") +
                     " would replace the file being split. Please choose another destination "
                     "folder.\n");
  EXPECT_EQ(test::ReadBytes(inPlace), data);
  EXPECT_EQ(Entries(out), 1);  // no fragment either
}

#ifndef _WIN32
// Names Windows refuses but the native build meets.
TEST_F(SplitCommandTest, ANameABatchLineCannotCarryStopsBatBeforeAnythingIsWritten) {
  struct Case {
    std::string name;
    std::string refusal;
  };
  const Case cases[] = {
      {"NUL\" mkdir INJECTED1 & rem .bin",
       "vtq: BAT Generation unavailable for NUL\" mkdir INJECTED1 & rem .bin: its name holds the "
       "double quote \", which a batch file cannot carry safely. The BAT file will not be "
       "generated.\nvtq: nothing was written\n"},
      {"a\nmkdir INJECTED2\n.bin",
       "vtq: BAT Generation unavailable for a\\nmkdir INJECTED2\\n.bin: its name holds the "
       "control character \\n, which a batch file cannot carry safely. The BAT file will not be "
       "generated.\nvtq: nothing was written\n"},
      {"b\r.bin",
       "vtq: BAT Generation unavailable for b\\r.bin: its name holds the control character "
       "\\r, which a batch file cannot carry safely. The BAT file will not be generated.\nvtq: "
       "nothing was written\n"},
  };
  for (const Case& c : cases) {
    const std::string hostile = dir / c.name;
    test::WriteBytes(hostile, data);
    EXPECT_EQ(Captured({hostile, "-d", out, "-f", "raw", "-s", "10240", "--bat"}), 2);
    EXPECT_EQ(err, c.refusal);
    EXPECT_EQ(Entries(out), 0) << c.name;
  }
}

TEST_F(SplitCommandTest, APlantedLinkAtTheBatchNameIsReplacedNotWrittenThrough) {
  const std::string victim = dir / "victim.txt";
  test::WriteText(victim, "keep me");
  std::filesystem::create_symlink(victim, Out("data.BAT"));
  ASSERT_EQ(Split({"-f", "raw", "-s", "10240", "--bat"}), 0);
  EXPECT_EQ(test::ReadBytes(victim), Bytes({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
  EXPECT_FALSE(std::filesystem::is_symlink(Out("data.BAT")));
  const Bytes bat = test::ReadBytes(Out("data.BAT"));
  EXPECT_NE(std::string(bat.begin(), bat.end()).find("copy /b \"data.001\""), std::string::npos);
  EXPECT_EQ(Entries(out), 4);  // three fragments, the batch file, no working file
}

TEST_F(SplitCommandTest, NamesArePrintedWithTheirControlCharactersEscaped) {
  const std::string hostile = dir / "e\x1B]0;owned\x07.bin";
  test::WriteBytes(hostile, data);
  ASSERT_EQ(Captured({hostile, "-d", out, "-f", "raw", "-s", "20000", "-v"}), 0) << err;
  EXPECT_EQ(printed, Out("e\\x1B]0;owned\\x07.001") + "\t20000\n" + Out("e\\x1B]0;owned\\x07.002") +
                         "\t10000\n");
  EXPECT_EQ(err.find('\x1B'), std::string::npos);
}
#endif

TEST_F(SplitCommandTest, UsageErrorsExitWith2) {
  EXPECT_EQ(RunSplit({}), 2);
  EXPECT_EQ(RunSplit({source, "-d", ""}), 2);
  EXPECT_EQ(Split({"-s", "12x"}), 2);
  EXPECT_EQ(Split({"-f", "zip"}), 2);
  EXPECT_EQ(Split({"--regen", "0"}), 2);
  EXPECT_EQ(Split({"--regen", "1k"}), 2);
  EXPECT_EQ(Split({"-p", "a", "--passphrase-file", "b"}), 2);
  EXPECT_EQ(Split({"--bogus"}), 2);
  EXPECT_EQ(Split({"--bat"}), 2);  // batch files are for raw series
  EXPECT_EQ(Split({"-f", "raw", "-c"}), 2);
  EXPECT_EQ(Split({"-f", "old", "-p", "x"}), 2);
  EXPECT_EQ(RunSplit({source, "-d", dir / "nowhere"}), 2);
  EXPECT_FALSE(FileExists(Out("data.001")));
}

TEST_F(SplitCommandTest, WithoutADestinationTheFragmentsGoBesideTheSource) {
  ASSERT_EQ(Captured({source, "-f", "raw", "-s", "10k"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(dir / "data.001"), Bytes(data.begin(), data.begin() + 10240));
  EXPECT_EQ(test::ReadBytes(dir / "data.003").size(), 30000u - 2 * 10240);
  EXPECT_EQ(Entries(out), 0);
  // Off a terminal: the summary alone.
  EXPECT_EQ(printed, "");
  EXPECT_EQ(err, "vtq: 3 fragments, 30000 bytes written to " + dir.Path() + "\n");
}

TEST_F(SplitCommandTest, AMissingDestinationIsNamedAndNothingIsWritten) {
  const int before = Entries(dir.Path());
  EXPECT_EQ(Captured({source, "-d", dir / "nowhere"}), 2);
  EXPECT_EQ(err, "vtq: the destination folder " + dir / "nowhere" + " does not exist\n");
  EXPECT_EQ(Captured({source, "-d", source}), 2);
  EXPECT_EQ(err, "vtq: the destination " + source + " is not a folder\n");
  EXPECT_EQ(Captured({source, "-d", ""}), 2);
  EXPECT_EQ(err, "vtq: -d needs a folder; leave it out to write beside the source\n");
  EXPECT_EQ(Entries(dir.Path()), before);
  EXPECT_EQ(Entries(out), 0);
}

TEST_F(SplitCommandTest, SizesTakeTheirSuffixesAndThePresetNames) {
  const Bytes big = test::PatternBytes(800000, 3);
  test::WriteBytes(source, big);
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "720k"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 730112u);  // the floppy, not 720 x 1,024
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "700K"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 700u * 1024);
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "1.44MB"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Out("data.001")), big);  // one fragment of up to 1,457,664
  EXPECT_EQ(Captured({source, "-d", out, "-s", "5k"}), 2);
  EXPECT_EQ(err,
            "vtq: size out of range for -s: 5k (fragments are 10k to 100m, 10240 to 104857600 "
            "bytes)\n");
  EXPECT_EQ(Captured({source, "-d", out, "-s", "1g"}), 2);
  EXPECT_EQ(err,
            "vtq: size out of range for -s: 1g (fragments are 10k to 100m, 10240 to 104857600 "
            "bytes)\n");
  EXPECT_EQ(Captured({source, "-d", out, "--first-size", "1.5m"}), 2);
  EXPECT_EQ(err,
            "vtq: bad size for --first-size: 1.5m (give bytes, a number with k, m or g, or 720k, "
            "1.44m, 1.72m, 2.88m)\n");
}

TEST_F(SplitCommandTest, VerboseListsEveryFragmentQuietTellsNothing) {
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "10k", "-v"}), 0) << err;
  EXPECT_EQ(printed, Out("data.001") + "\t10240\n" + Out("data.002") + "\t10240\n" +
                         Out("data.003") + "\t9520\n");
  EXPECT_EQ(err, "vtq: 3 fragments, 30000 bytes written to " + WithTrailingSeparator(out) + "\n");
  ASSERT_EQ(Captured({source, "-d", out, "-f", "raw", "-s", "10k", "--bat", "-q"}), 0);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(err, "");
  EXPECT_TRUE(FileExists(Out("data.BAT")));
  EXPECT_EQ(Captured({source, "-d", out, "-q", "-v"}), 2);
  EXPECT_EQ(err, "vtq: -q and -v exclude each other\n");
  // Errors are told however quiet.
  EXPECT_EQ(Captured({source, "-d", dir / "nowhere", "-q"}), 2);
  EXPECT_EQ(err, "vtq: the destination folder " + dir / "nowhere" + " does not exist\n");
}

TEST_F(SplitCommandTest, TheSourceIsNeverTakenForOneOfItsSeriesSideFiles) {
  for (const char* name : {"data.sha256", "data.par2", "data.vol0+1.par2"}) {
    const std::string side = Out(name);
    test::WriteBytes(side, data);
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"-s", "20k"}, {"-s", "20k", "--sha256", "--recovery", "10"}}) {
      std::vector<std::string> args{side};
      args.insert(args.end(), extra.begin(), extra.end());
      EXPECT_EQ(Captured(args), 1) << name;
      EXPECT_EQ(
          err,
          "Source would be overwritten: The file being split has the name of the "
          "series' " +
              std::string(std::string_view(name).ends_with("sha256") ? "checksum" : "recovery") +
              " file (" + side + "). Please choose another destination folder.\n");
      EXPECT_EQ(test::ReadBytes(side), data) << name;
      EXPECT_EQ(Entries(out), 1);
    }
    RemoveFile(side);
  }
}

TEST_F(SplitCommandTest, TheUsersOwnFilesWithSideFileNamesAreKeptAndNeverWrittenOver) {
  // sha256sum data.bin other.txt > data.sha256
  const std::string theirs =
      std::string(64, 'a') + "  data.bin\n" + std::string(64, 'b') + "  other.txt\n";
  test::WriteText(Out("data.sha256"), theirs);
  EXPECT_EQ(Captured({source, "-d", out}), 0) << err;
  EXPECT_NE(err.find("vtq: " + Out("data.sha256") +
                     " is not this series' checksum file (it does not list exactly its "
                     "fragments); it is kept\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(test::ReadBytes(Out("data.sha256")), Bytes(theirs.begin(), theirs.end()));
  EXPECT_EQ(Captured({source, "-d", out, "--sha256"}), 1);
  EXPECT_NE(err.find(" it is kept. Please move it away or choose another destination folder.\n"
                     "vtq: nothing was written\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(test::ReadBytes(Out("data.sha256")), Bytes(theirs.begin(), theirs.end()));
}

TEST_F(SplitCommandTest, QuietPrintsNoNamesOfTheChecksumAndRecoveryFiles) {
  EXPECT_EQ(Captured({source, "-d", out, "-q", "--sha256", "--recovery", "50"}), 0) << err;
  EXPECT_EQ(printed, "");
  EXPECT_EQ(err, "");
  EXPECT_TRUE(FileExists(Out("data.sha256")));
  EXPECT_TRUE(FileExists(Out("data.par2")));
}

TEST_F(SplitCommandTest, AFragmentThatCannotBeWrittenIsNamed) {
  test::MakeFolder(Out("data.002"));  // a folder where the second fragment goes
  EXPECT_EQ(Captured({source, "-d", out, "-s", "10240"}), 1);
  EXPECT_TRUE(
      err.starts_with("vtq: " + Out("data.002") + ": Permission denied (runtime error 70)\n"))
      << err;
  EXPECT_TRUE(err.ends_with("vtq: split ended after an error\n")) << err;
}

TEST_F(SplitCommandTest, EngineFailuresExitWith1) {
  EXPECT_EQ(RunSplit({dir / "missing.bin", "-d", out}), 1);
  // A fragment that would be the source itself is refused.
  test::WriteBytes(Out("data.001"), data);
  EXPECT_EQ(RunSplit({Out("data.001"), "-d", out, "-s", "10240"}), 1);
  EXPECT_EQ(test::ReadBytes(Out("data.001")), data);
}

// The console asks what the window asks before another series' fragments
// are written over: --yes or --no answers, and without a terminal the run
// stops and names them.
TEST_F(SplitCommandTest, AnotherSeriesIsWrittenOverOnlyWhenTheAnswerIsYes) {
  ASSERT_EQ(Split({"-s", "10k"}), 0);
  const Bytes theirs = test::ReadBytes(Out("data.001"));
  const std::string other = dir / "data.txt";
  test::WriteBytes(other, test::PatternBytes(30000, 6));
  // A terminal (Wine's console is one) answers with the end of input, No.
  EXPECT_EQ(Captured({other, "-d", out, "-s", "10k"}), StdinIsTerminal() ? 1 : 2);
  EXPECT_NE(err.find("Replace fragments?: " + Out("data.001") +
                     " is a fragment of another series (of data.bin)."),
            std::string::npos)
      << err;
  if (!StdinIsTerminal()) {
    EXPECT_NE(err.find("--yes or --no answers it"), std::string::npos) << err;
  }
  EXPECT_EQ(test::ReadBytes(Out("data.001")), theirs);
  EXPECT_EQ(Captured({other, "-d", out, "-s", "10k", "--no"}), 1);
  EXPECT_EQ(test::ReadBytes(Out("data.001")), theirs);
  EXPECT_EQ(Captured({other, "-d", out, "-s", "10k", "--yes"}), 0) << err;
  EXPECT_NE(test::ReadBytes(Out("data.001")), theirs);
}

}  // namespace
}  // namespace vtq::cli
