// vtq verify end to end, and what split --sha256 and assemble say of the
// checksum file.

#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cli/tests/command_test.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::cli {
namespace {

using test::Bytes;

class VerifyCommandTest : public CommandTest {
 protected:
  int Split(std::vector<std::string> extra) {
    std::vector<std::string> args{source, "-d", out, "-s", "10240"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(RunSplit, args);
  }
  int Verify(std::vector<std::string> extra = {}) {
    std::vector<std::string> args{Frag("data.001")};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(RunVerify, args);
  }
};

TEST_F(VerifyCommandTest, ASoundSeriesSaysWhatWasChecked) {
  ASSERT_EQ(Split({"-c", "--sha256"}), 0) << err;
  EXPECT_NE(stdoutText.find(Frag("data.sha256") + "\n"), std::string::npos) << stdoutText;
  EXPECT_EQ(Verify(), 0) << err;
  EXPECT_EQ(stdoutText,
            "sound: 3 fragments, check digits, SHA-256 digests of data.sha256 checked\n");
  EXPECT_EQ(err, "");
}

TEST_F(VerifyCommandTest, TheNamedRegenerationMendsTheSeriesAndKeepsItsChecksumFile) {
  ASSERT_EQ(Split({"--sha256"}), 0) << err;
  Bytes second = test::ReadBytes(Frag("data.002"));
  second[9] ^= 1;
  test::WriteBytes(Frag("data.002"), second);
  EXPECT_EQ(Verify(), 1);
  EXPECT_NE(err.find("  vtq split data.bin -d " + WithTrailingSeparator(out) + " --regen 2\n"),
            std::string::npos)
      << err;
  ASSERT_EQ(Split({"--regen", "2", "--yes"}), 0) << err;
  EXPECT_TRUE(FileExists(Frag("data.sha256")));
  EXPECT_EQ(Verify(), 0) << err;
}

TEST_F(VerifyCommandTest, FaultsAreNamedWithTheRegenerationThatMendsThem) {
  ASSERT_EQ(Split({"-c"}), 0) << err;
  RemoveFile(Frag("data.002"));
  Bytes third = test::ReadBytes(Frag("data.003"));
  third[0] ^= 1;
  test::WriteBytes(Frag("data.003"), third);
  EXPECT_EQ(Verify(), 1);
  EXPECT_EQ(err, "vtq: fragment 2 (" + Frag("data.002") + ") is missing\n" + "vtq: fragment 3 (" +
                     Frag("data.003") + ") is damaged: its check digits do not match\n" +
                     "vtq: re-create them from the source with the options of the first split:\n" +
                     "  vtq split data.bin -d " + WithTrailingSeparator(out) + " --regen 2\n" +
                     "  vtq split data.bin -d " + WithTrailingSeparator(out) + " --regen 3\n");
  EXPECT_EQ(stdoutText,
            "not sound: 2 of 3 fragments at fault (3 fragments, check digits checked)\n");
}

TEST_F(VerifyCommandTest, AWrongPassphraseFailsAndUsageErrorsAreUsageErrors) {
  ASSERT_EQ(Split({"-c", "-p", "open sesame"}), 0) << err;
  EXPECT_EQ(Verify({"-p", "wrong"}), 1);
  EXPECT_EQ(err, "Access denied: Passphrase incorrect (the check digits were not checked)\n");
  EXPECT_EQ(Verify({"-p", "open sesame"}), 0) << err;
  EXPECT_EQ(Run(RunVerify, {}), 2);
  EXPECT_EQ(Verify({"--unknown-as", "cooked"}), 2);
}

TEST_F(VerifyCommandTest, AssembleSaysWhetherTheResultMatchesTheChecksumFile) {
  ASSERT_EQ(Split({"--sha256"}), 0) << err;
  test::MakeFolder(dir / "joined");
  const std::vector<std::string> args{Frag("data.001"), "-d", dir / "joined"};
  EXPECT_EQ(Run(RunAssemble, args), 0) << err;
  EXPECT_NE(
      err.find("the assembled file matches the SHA-256 of the source in " + Frag("data.sha256")),
      std::string::npos)
      << err;
  Bytes second = test::ReadBytes(Frag("data.002"));
  second[5] ^= 1;
  test::WriteBytes(Frag("data.002"), second);
  // Nothing there for the damaged result to replace, which would be asked.
  RemoveFile(dir / "joined/data.bin");
  EXPECT_EQ(Run(RunAssemble, args), 1);
  EXPECT_NE(err.find("does NOT match"), std::string::npos) << err;
  RemoveFile(Frag("data.003"));
  EXPECT_EQ(Run(RunAssemble, args), 1);
  EXPECT_NE(err.find("Fragments missing: Fragment " + Frag("data.003") +
                     " was not found. Nothing was assembled."),
            std::string::npos)
      << err;
}

}  // namespace
}  // namespace vtq::cli
