// vtq assemble and vtq info end to end on scratch folders.

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/commands.h"
#include "cli/tests/command_test.h"
#include "cli/passphrase_prompt.h"
#include "cli/tests/environment.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::cli {
namespace {

using test::Bytes;

class AssembleCommandTest : public CommandTest {
 protected:
  std::string Out(const std::string& name) { return WithTrailingSeparator(out) + name; }
  int Split(std::vector<std::string> extra) {
    std::vector<std::string> args{source, "-d", out};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(RunSplit, args);
  }
  int Assemble(std::vector<std::string> extra) {
    std::vector<std::string> args{Frag("data.001"), "-d", dir / "joined"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(RunAssemble, args);
  }
  std::string Joined(const std::string& name) {
    return WithTrailingSeparator(dir / "joined") + name;
  }
};

TEST_F(AssembleCommandTest, AnOwnFormatSeriesComesBackAndItsPathIsPrinted) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240", "-c"}), 0);
  ASSERT_EQ(Assemble({}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
  EXPECT_EQ(stdoutText, Joined("data.bin") + "\n");
}

TEST_F(AssembleCommandTest, PassphraseFromTheCommandLineOrAFile) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240", "-p", "open sesame"}), 0);
  EXPECT_EQ(Assemble({"-p", "wrong"}), 1);
  EXPECT_EQ(err, "Access denied: Password incorrect\n");
  EXPECT_FALSE(FileExists(Joined("data.bin")));
  // Without a passphrase it is asked at a terminal (Wine's console counts as
  // one, answering with the end of input); without one the run names the
  // options that give it.
  if (StdinIsTerminal()) {
    EXPECT_EQ(Assemble({}), 1);
    EXPECT_TRUE(err.ends_with("Access denied: Password incorrect\n")) << err;
  } else {
    EXPECT_EQ(Assemble({}), 2);
    EXPECT_EQ(err, "vtq: " + Frag("data.001") +
                       " is encrypted and there is no terminal to ask for its passphrase: give "
                       "--passphrase-file FILE, -p PASSPHRASE or VTQ_PASSPHRASE\n");
  }
  EXPECT_FALSE(FileExists(Joined("data.bin")));
  test::WriteText(dir / "pw", "open sesame\r\n");
  ASSERT_EQ(Assemble({"--passphrase-file", dir / "pw"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
}

TEST_F(AssembleCommandTest, ThePassphraseVariableWhenNoOptionGivesOne) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240", "-p", "open sesame"}), 0);
  {
    const ScopedVariable variable("VTQ_PASSPHRASE", "open sesame");
    ASSERT_EQ(Assemble({}), 0) << err;
    EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
    RemoveFile(Joined("data.bin"));
    // An option wins over the variable.
    EXPECT_EQ(Assemble({"-p", "wrong"}), 1);
    EXPECT_EQ(err, "Access denied: Password incorrect\n");
  }
  const ScopedVariable wrong("VTQ_PASSPHRASE", "wrong");
  EXPECT_EQ(Assemble({}), 1);
  EXPECT_EQ(err, "Access denied: Password incorrect\n");
  ASSERT_EQ(Assemble({"-p", "open sesame"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
}

TEST_F(AssembleCommandTest, TheUnknownFormatQuestionOrItsOption) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-f", "old", "-s", "10240"}), 0);
  const std::string question =
      "Treat fragments as unformatted?: Vantrelloquin has been unable to identify the file-format "
      "that the "
      "selected fragments have been saved in. I need to know whether to treat the file as "
      "unformatted data. "
      "If you created these fragments in a version of Vantrelloquin earlier than version 2.0 "
      "please click "
      "'No'. If you split these files using the BAT Generation feature, or created them in a "
      "different "
      "program, you should click 'Yes'. If you are unsure, you are advised to click yes and if the "
      "assembled file doesn't work, then try to re-assemble using the 'No' option.\n";
  // Unanswered: at a terminal the end of input cancels it; without one the
  // question is not asked at all but the option that answers it is named.
  // Nothing is written either way.
  if (StdinIsTerminal()) {
    EXPECT_EQ(Assemble({}), 1);
    EXPECT_EQ(err.substr(0, question.size()), question);
  } else {
    EXPECT_EQ(Assemble({}), 2);
    EXPECT_EQ(err, "vtq: cannot tell whether " + Frag("data.001") +
                       " is raw data or in the older format, and there is no terminal to ask: "
                       "give --unknown-as raw or --unknown-as old\n");
  }
  EXPECT_FALSE(FileExists(Joined("data.Unk")));
  // --no takes the question's negative button: Cancel, with the question shown.
  EXPECT_EQ(Assemble({"--no"}), 1);
  EXPECT_EQ(err, question);
  EXPECT_FALSE(FileExists(Joined("data.Unk")));
  // Yes: raw data, the prefix stays in the output.
  ASSERT_EQ(Assemble({"--yes"}), 0);
  EXPECT_EQ(test::ReadBytes(Joined("data.Unk")).size(), data.size() + 9);
  ASSERT_EQ(Assemble({"--unknown-as", "old"}), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
}

TEST_F(AssembleCommandTest, ARefusedCheckEndsWithStatus1AndNamesOnlyTheKeptPart) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240", "-c"}), 0);
  Bytes second = test::ReadBytes(Frag("data.002"));
  second[100] ^= 1;
  test::WriteBytes(Frag("data.002"), second);
  EXPECT_EQ(Assemble({"--no"}), 1);
  EXPECT_EQ(
      err,
      "Warning: The checkability verification on fragment 2 failed indicating that the fragment is "
      "probably corrupted. Are you sure you wish to continue?\n"
      "vtq: the series is incomplete; what was assembled is kept as " +
          Joined("data.bin.partial") + "\n");
  EXPECT_FALSE(FileExists(Joined("data.bin")));
  EXPECT_EQ(Assemble({"--yes"}), 0);
}

TEST_F(AssembleCommandTest, MissingArgumentsAreUsageErrorsWithTheProgramsTexts) {
  EXPECT_EQ(Run(RunAssemble, {}), 2);
  EXPECT_EQ(err, "Not enough information.: Please select a fragment to assemble first!\n");
  EXPECT_EQ(Run(RunAssemble, {Frag("data.001"), "-d", ""}), 2);
  EXPECT_EQ(err,
            "Destination directory not selected: Please select a destination directory first.\n");
  EXPECT_EQ(Run(RunAssemble, {Frag("data.001"), "-d", out, "--unknown-as", "cab"}), 2);
  EXPECT_EQ(Run(RunAssemble, {Frag("data.001"), "-d", out, "--yes", "--no"}), 2);
}

TEST_F(AssembleCommandTest, AMissingFragmentIsAFailure) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  RemoveFile(Frag("data.003"));
  EXPECT_EQ(Assemble({}), 1);
  // On a fixed disk the gap is named before anything is written.
  EXPECT_EQ(err, "Fragments missing: Fragment " + Frag("data.003") +
                     " was not found. Nothing was assembled.\n");
  EXPECT_TRUE(test::NamesIn(dir / "joined").empty());
  EXPECT_EQ(stdoutText, "");
}

TEST_F(AssembleCommandTest, WithoutADestinationTheFileGoesBesideTheFirstFragment) {
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  ASSERT_EQ(Run(RunAssemble, {Frag("data.001")}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Out("data.bin")), data);
  EXPECT_EQ(stdoutText, Out("data.bin") + "\n");
  EXPECT_EQ(err, "");
}

TEST_F(AssembleCommandTest, AMissingDestinationIsNamedAndNothingIsWritten) {
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  EXPECT_EQ(Assemble({}), 2);  // dir/joined was never made
  EXPECT_EQ(err, "vtq: the destination folder " + dir / "joined" + " does not exist\n");
  EXPECT_EQ(Run(RunAssemble, {Frag("data.001"), "-d", source}), 2);
  EXPECT_EQ(err, "vtq: the destination " + source + " is not a folder\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "joined"));
  EXPECT_FALSE(FileExists(Out("data.bin")));
  EXPECT_FALSE(FileExists(Out("data.bin.partial")));
}

TEST_F(AssembleCommandTest, VerboseListsEveryFragmentQuietTellsNothing) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  ASSERT_EQ(Assemble({"-v"}), 0) << err;
  EXPECT_EQ(stdoutText, Frag("data.001") + "\t10240\n" + Frag("data.002") + "\t10240\n" +
                            Frag("data.003") + "\t9592\n" + Joined("data.bin") + "\n");
  RemoveFile(Joined("data.bin"));
  ASSERT_EQ(Assemble({"-q"}), 0) << err;
  EXPECT_EQ(stdoutText, "");
  EXPECT_EQ(err, "");
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
  EXPECT_EQ(Assemble({"-q", "-v"}), 2);
  EXPECT_EQ(err, "vtq: -q and -v exclude each other\n");
}

TEST_F(AssembleCommandTest, InfoPrintsOneNameValuePerLine) {
  ASSERT_EQ(Split({"-s", "10240", "-c", "-p", "pw"}), 0);
  ASSERT_EQ(Run(RunInfo, {Frag("data.001")}), 0) << err;
  EXPECT_EQ(stdoutText,
            "Format: own\nFragments: 3\nAssembled name: data.bin\nMultisize: no\nEncrypted: yes\n"
            "Encodable: no\nReserved feature: no\nCheckable: yes\nHeader length: " +
                std::to_string(8 + 72 + 77) + "\n");
  ASSERT_EQ(Split({"-f", "raw", "-s", "10240"}), 0);
  ASSERT_EQ(Run(RunInfo, {Frag("data.001")}), 0);
  EXPECT_EQ(stdoutText,
            "Format: raw\nFragments: 3\nAssembled name: data.Unk\nMultisize: no\nEncrypted: no\n"
            "Encodable: no\nReserved feature: no\nCheckable: no\nHeader length: 0\n");
  ASSERT_EQ(Split({"-f", "old", "-s", "10240"}), 0);
  ASSERT_EQ(Run(RunInfo, {Frag("data.001")}), 0);
  EXPECT_NE(stdoutText.find("Format: old\n"), std::string::npos);
  EXPECT_NE(stdoutText.find("Header length: 9\n"), std::string::npos);
  EXPECT_EQ(Run(RunInfo, {}), 2);
  EXPECT_EQ(Run(RunInfo, {dir / "missing.001"}), 1);
}

TEST_F(AssembleCommandTest, InfoShowsTheSafeNameBesideAHostileStoredOne) {
  test::HandHeader header;
  header.name = "..\\..\\evil.txt";
  const std::string first = test::WriteFragments(dir / "hostile.", {test::HandHeaderBytes(header)});
  ASSERT_EQ(Run(RunInfo, {first}), 0);
  EXPECT_NE(stdoutText.find("Assembled name: evil.txt\nStored name: ..\\..\\evil.txt\n"),
            std::string::npos)
      << stdoutText;
}

TEST_F(AssembleCommandTest, InfoShowsAStoredNameWithEscapeSequencesAsText) {
  test::HandHeader header;
  header.name = "\x1B]0;owned\x07\x1B[31mred\r\n.txt";
  const std::string first = test::WriteFragments(dir / "hostile.", {test::HandHeaderBytes(header)});
  ASSERT_EQ(Run(RunInfo, {first}), 0) << err;
  EXPECT_EQ(stdoutText.find('\x1B'), std::string::npos) << stdoutText;
  EXPECT_NE(stdoutText.find("Stored name: \\x1B]0;owned\\x07\\x1B[31mred\\r\\n.txt\n"),
            std::string::npos)
      << stdoutText;
}

TEST_F(AssembleCommandTest, TheAssembledNameIsPrintedWithoutControlCharacters) {
  test::MakeFolder(dir / "joined");
  test::HandHeader header;
  header.name = "bell\x07.txt";
  const std::string first = test::WriteFragments(dir / "bell.", {test::HandHeaderBytes(header)});
  ASSERT_EQ(Run(RunAssemble, {first, "-d", dir / "joined"}), 0) << err;
  EXPECT_EQ(stdoutText.find('\x07'), std::string::npos) << stdoutText;
}

#ifndef _WIN32
// A FIFO would make every command wait for a writer for ever.
TEST_F(AssembleCommandTest, AFifoIsRefusedByEveryCommandWithItsName) {
  const std::string fifo = dir / "pipe.001";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string expected =
      "vtq: " + fifo + " is not a regular file: pipes and devices cannot be split or assembled\n";
  EXPECT_EQ(Run(RunInfo, {fifo}), 2);
  EXPECT_EQ(err, expected);
  EXPECT_EQ(Run(RunAssemble, {fifo, "-d", out}), 2);
  EXPECT_EQ(err, expected);
  EXPECT_EQ(Run(RunSplit, {fifo, "-d", out}), 2);
  EXPECT_EQ(err, expected);
}
#endif

TEST_F(AssembleCommandTest, ADifferentFileOfTheSameNameIsReplacedOnlyWhenTheAnswerIsYes) {
  test::MakeFolder(dir / "joined");
  ASSERT_EQ(Split({"-s", "10240"}), 0);
  const Bytes theirs = test::PatternBytes(100, 2);
  test::WriteBytes(Joined("data.bin"), theirs);
  EXPECT_EQ(Assemble({}), StdinIsTerminal() ? 1 : 2);
  EXPECT_NE(err.find("Replace file?: " + Joined("data.bin") + " already exists"), std::string::npos)
      << err;
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), theirs);
  EXPECT_EQ(Assemble({"--no"}), 1);
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), theirs);
  EXPECT_EQ(Assemble({"--yes"}), 0) << err;
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
  // The same bytes again replace nothing of anyone's: no question.
  EXPECT_EQ(Assemble({}), 0) << err;
  EXPECT_EQ(err.find("Replace file?"), std::string::npos) << err;
}

}  // namespace
}  // namespace vtq::cli
