// The help texts: how a passphrase can be given without showing it, a
// sentence for every option each command accepts, and the version.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"

namespace vtq::cli {
namespace {

TEST(UsageTest, WarnsThatAPassphraseOptionIsVisibleAndNamesTheOtherWays) {
  const std::string usage(UsageText());
  EXPECT_NE(usage.find("-p PASSPHRASE is visible to other users of the computer"),
            std::string::npos);
  EXPECT_NE(usage.find("--passphrase-file FILE"), std::string::npos);
  EXPECT_NE(usage.find("-P or --ask-passphrase"), std::string::npos);
  EXPECT_NE(usage.find("environment variable VTQ_PASSPHRASE, used when no option gives one"),
            std::string::npos);
  EXPECT_NE(usage.find("Check digits (-c) and passphrases need the own format (-f own)"),
            std::string::npos);
  EXPECT_TRUE(usage.starts_with("usage: vtq split SOURCE [-d DIR]"));
}

// Each option of a command's parser has its line in the command's help.
void ExpectEveryOptionExplained(std::string_view help, std::initializer_list<const char*> lines) {
  const std::string text(help);
  for (const char* line : lines)
    EXPECT_NE(text.find(std::string("\n  ") + line), std::string::npos) << line;
}

TEST(UsageTest, EachCommandHasHelpWithALineForEveryOption) {
  ExpectEveryOptionExplained(
      SplitHelp(),
      {"-d DIR ", "-s SIZE ", "--first-size SIZE ", "-f own|raw|old ", "-c ", "-p PASSPHRASE ",
       "--passphrase-file FILE ", "-P, --ask-passphrase ", "--regen N ", "--bat ", "--sha256 ",
       "--recovery PERCENT ", "--recovery-count N ", "--yes, --no ", "-v ", "-q ", "-h, --help "});
  ExpectEveryOptionExplained(
      AssembleHelp(),
      {"-d DIR ", "-p PASSPHRASE ", "--passphrase-file FILE ", "--unknown-as raw|old ", "--repair ",
       "--yes, --no ", "-v ", "-q ", "-h, --help "});
  ExpectEveryOptionExplained(InfoHelp(), {"--unknown-as raw|old ", "-h, --help "});
  ExpectEveryOptionExplained(VerifyHelp(), {"-p PASSPHRASE ", "--passphrase-file FILE ",
                                            "--unknown-as raw|old ", "-h, --help "});
  ExpectEveryOptionExplained(RepairHelp(),
                             {"--par2 FILE ", "-p PASSPHRASE ", "--passphrase-file FILE ",
                              "--unknown-as raw|old ", "-q ", "-h, --help "});
  EXPECT_TRUE(SplitHelp().starts_with("usage: vtq split SOURCE [options]\n"));
  EXPECT_NE(SplitHelp().find("720k\n(730,112 bytes), 1.44m (1,457,664), 1.72m (1,745,408) or "
                             "2.88m (3,019,899)"),
            std::string::npos);
}

TEST(UsageTest, HelpAnywhereAmongACommandsArgumentsShowsItAndDoesNothingElse) {
  using Command = int (*)(std::vector<std::string>);
  const std::pair<Command, std::string_view> commands[] = {{RunSplit, SplitHelp()},
                                                           {RunAssemble, AssembleHelp()},
                                                           {RunVerify, VerifyHelp()},
                                                           {RunRepair, RepairHelp()}};
  for (const auto& [run, help] : commands) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"missing.bin", "-d", "nowhere", "--help"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), help);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunInfo({"-h"}), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), InfoHelp());
}

TEST(UsageTest, TheVersionIsTheBuilds) {
  EXPECT_TRUE(std::regex_match(VersionText(),
                               std::regex(R"(vtq \(Vantrelloquin\) [0-9]+\.[0-9]+\.[0-9]+\n)"
                                          R"(recovery files: (tables|ssse3|avx2|gfni) multiply )"
                                          R"(\(of tables(, ssse3)?(, avx2)?(, gfni)?\), )"
                                          R"((scalar|avx2|avx512) MD5, [1-8] )"
                                          R"(threads?\n)")))
      << VersionText();
}

}  // namespace
}  // namespace vtq::cli
