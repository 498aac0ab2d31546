// vtq split end to end on scratch folders: fragments, formats, exit codes.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/commands.h"
#include "engine/file_io.h"
#include "engine/path.h"
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
  std::string Out(const std::string& name) { return WithTrailingSeparator(out) + name; }
  int Split(std::vector<std::string> extra) {
    std::vector<std::string> args{source, "-d", out};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunSplit(args);
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
  ASSERT_EQ(Split({"-f", "raw", "-s", "10240", "--passphrase-file", dir / "pw"}), 0);
  const Bytes viaFile = test::ReadBytes(Out("data.001"));
  ASSERT_EQ(Split({"-f", "raw", "-s", "10240", "-p", "open sesame"}), 0);
  EXPECT_EQ(test::ReadBytes(Out("data.001")), viaFile);
  EXPECT_NE(viaFile, Bytes(data.begin(), data.begin() + 10240));
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

TEST_F(SplitCommandTest, UsageErrorsExitWith2) {
  EXPECT_EQ(RunSplit({}), 2);
  EXPECT_EQ(RunSplit({source}), 2);  // no -d
  EXPECT_EQ(Split({"-s", "12x"}), 2);
  EXPECT_EQ(Split({"-f", "zip"}), 2);
  EXPECT_EQ(Split({"--regen", "0"}), 2);
  EXPECT_EQ(Split({"--regen", "1k"}), 2);
  EXPECT_EQ(Split({"-p", "a", "--passphrase-file", "b"}), 2);
  EXPECT_EQ(Split({"--bogus"}), 2);
  EXPECT_EQ(Split({"--bat"}), 2);  // batch files are for raw series
  EXPECT_EQ(RunSplit({source, "-d", dir / "nowhere"}), 2);
  EXPECT_FALSE(FileExists(Out("data.001")));
}

TEST_F(SplitCommandTest, EngineFailuresExitWith1) {
  EXPECT_EQ(RunSplit({dir / "missing.bin", "-d", out}), 1);
  // A fragment that would be the source itself is refused.
  test::WriteBytes(Out("data.001"), data);
  EXPECT_EQ(RunSplit({Out("data.001"), "-d", out, "-s", "10240"}), 1);
  EXPECT_EQ(test::ReadBytes(Out("data.001")), data);
}

}  // namespace
}  // namespace vtq::cli
