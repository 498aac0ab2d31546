// The side files of a series (its checksum and recovery files): what they
// are called, when one that is there is the series' own, and what a split
// does with them: it never takes the source for one, removes only the ones
// of the series it replaces, and writes over none of the user's.

#include "app/operations/series_side_files.h"

#include <gtest/gtest.h>

#include "app/operations/split_operation.h"
#include "app/operations/tests/recording_prompts.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"
#include "recovery/recovery_writer.h"

namespace vtq {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SeriesSideFilesTest, ASideFileBelongsWhenItCoversExactlyFragmentsOneToN) {
  const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
      {{"data.001"}, true},
      {{"data.002", "data.001", "data.003"}, true},
      {{"data.001", "data.003"}, false},     // a gap
      {{"data.001", "data.001"}, false},     // twice
      {{"data.2019", "data.2020"}, false},   // stem + digits, but not from 1
      {{"data.001", "notes.txt"}, false},    // another file
      {{"data.1"}, false},                   // not as the series writes it
      {{"data.001", "data.sha256"}, false},  // a side file itself
      {{}, false},
  };
  for (const auto& [names, belongs] : cases)
    EXPECT_EQ(AreFragmentsOneToN(names, "data."), belongs) << ::testing::PrintToString(names);

  for (const char* name : {"data.par2", "data.PAR2", "data.vol0+1.par2", "data.vol07+8.Par2"})
    EXPECT_TRUE(IsRecoveryFileName(name, "data.")) << name;
  for (const char* name : {"data.001", "data.sha256", "datapar2", "other.par2", "data.vol1.txt"})
    EXPECT_FALSE(IsRecoveryFileName(name, "data.")) << name;

  SeriesChecksums sums;
  sums.source = {std::string(64, 'a'), "data.bin"};
  sums.fragments = {{std::string(64, 'b'), "data.001"}, {std::string(64, 'c'), "data.002"}};
  EXPECT_TRUE(ChecksumsBelong(sums, "data."));
  // What `sha256sum data.bin other.txt > data.sha256` writes.
  sums.fragments = {{std::string(64, 'b'), "other.txt"}};
  EXPECT_FALSE(ChecksumsBelong(sums, "data."));
  // What `sha256sum data.0* > data.sha256` writes: the first line is no source.
  sums.source = {std::string(64, 'a'), "data.001"};
  sums.fragments = {{std::string(64, 'b'), "data.002"}};
  EXPECT_FALSE(ChecksumsBelong(sums, "data."));
}

class SideFilesAtSplitTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::string out = dir / "out";
  Bytes data = test::PatternBytes(30000, 7);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  test::RecordingSplitterEvents events;
  test::RecordingPrompts prompts;
  SplitRequest request;

  void SetUp() override {
    test::MakeFolder(out);
    request.source = dir / "data.bin";
    test::WriteBytes(request.source, data);
    request.destination = out;
    request.fragmentSize = 10240;
  }
  std::string Out(const std::string& name) { return WithTrailingSeparator(out) + name; }
  SplitResult Split() { return RunSplitCommand(request, globals, events, prompts); }
  void WriteRecovery(const std::string& prefix, std::vector<std::string> files) {
    recovery::RecoveryRequest recovery;
    recovery.files = std::move(files);
    recovery.prefix = prefix;
    recovery.sliceSize = 10240;
    recovery.recoverySlices = 2;
    recovery::WriteRecoveryFiles(recovery);
  }
};

TEST_F(SideFilesAtSplitTest, ASourceWithTheNameOfOneOfTheSeriesSideFilesIsNotSplitBesideItself) {
  for (const char* name : {"data.sha256", "data.par2", "data.vol0+1.par2", "data.VOL1+2.PAR2"}) {
    request.source = Out(name);
    test::WriteBytes(request.source, data);
    request.destination = out;
    for (const bool written : {false, true}) {
      request.writeChecksums = written;
      request.writeRecovery = written;
      const SplitResult result = Split();
      EXPECT_EQ(result.stop, SplitStop::kSideFileIsSource) << name;
      EXPECT_EQ(test::NamesIn(out), std::vector<std::string>{name});
      EXPECT_EQ(test::ReadBytes(request.source), data) << name;
    }
    // Into another folder it is a source like any other.
    request.destination = dir.Path();
    const SplitResult elsewhere = Split();
    EXPECT_EQ(elsewhere.stop, SplitStop::kNone) << name;
    EXPECT_TRUE(elsewhere.Complete());
    EXPECT_TRUE(FileExists(dir / "data.003"));
    RemoveFile(request.source);
  }
  request.source = Out("data.sha256");
  test::WriteBytes(request.source, data);
  request.destination = out;
  EXPECT_EQ(Split().problem, "The file being split has the name of the series' checksum file (" +
                                 Out("data.sha256") +
                                 "). Please choose another destination folder.");
}

TEST_F(SideFilesAtSplitTest, AWholeSplitRemovesTheSideFilesOfTheSeriesItReplacesAndNoOthers) {
  // The user's own: a checksum file of other files, a recovery set of
  // files named like fragments but not from 1, one of a fragment and more.
  SeriesChecksums sums;
  sums.source = {std::string(64, 'a'), "data.bin"};
  sums.fragments = {{std::string(64, 'b'), "other.txt"}};
  const std::string theirs = FormatChecksums(sums);
  test::WriteText(Out("data.sha256"), theirs);
  test::WriteBytes(Out("photos.2019"), test::PatternBytes(10000, 1));
  test::WriteBytes(Out("photos.2020"), test::PatternBytes(10000, 2));
  WriteRecovery(Out("photos."), {Out("photos.2019"), Out("photos.2020")});
  ASSERT_TRUE(Split().Complete());
  test::WriteBytes(Out("notes.txt"), test::PatternBytes(100, 3));
  WriteRecovery(Out("data."), {Out("data.001"), Out("notes.txt")});

  const SplitResult result = Split();
  ASSERT_TRUE(result.Complete());
  EXPECT_EQ(test::ReadBytes(Out("data.sha256")), Bytes(theirs.begin(), theirs.end()));
  EXPECT_TRUE(FileExists(Out("data.par2")));
  EXPECT_TRUE(FileExists(Out("data.vol1+1.par2")));
  ASSERT_EQ(result.keptSideFiles.size(), 4u);
  EXPECT_EQ(result.keptSideFiles[0].name, Out("data.sha256"));
  EXPECT_EQ(ForeignSideFileText(result.keptSideFiles[0]),
            Out("data.sha256") +
                " is not this series' checksum file (it does not list exactly its fragments)");
  EXPECT_EQ(ForeignSideFileText(result.keptSideFiles[1]),
            Out("data.par2") +
                " is not one of this series' recovery files (it holds no set of "
                "exactly its fragments)");
  // Splitting photos.zip: the other set is no set of that series either.
  request.source = dir / "photos.zip";
  test::WriteBytes(request.source, data);
  ASSERT_TRUE(Split().Complete());
  for (const char* name : {"photos.par2", "photos.vol0+1.par2", "photos.vol1+1.par2"})
    EXPECT_TRUE(FileExists(Out(name))) << name;

  // The series' own are taken away.
  request.source = dir / "data.bin";
  request.writeChecksums = true;
  RemoveFile(Out("data.sha256"));
  ASSERT_TRUE(Split().Complete());
  WriteRecovery(Out("data."), {Out("data.001"), Out("data.002"), Out("data.003")});
  request.writeChecksums = false;
  const SplitResult replaced = Split();
  EXPECT_TRUE(replaced.keptSideFiles.empty());
  EXPECT_FALSE(FileExists(Out("data.sha256")));
  EXPECT_FALSE(FileExists(Out("data.par2")));
  EXPECT_FALSE(FileExists(Out("data.vol0+1.par2")));
}

TEST_F(SideFilesAtSplitTest, ASplitThatWouldWriteOverAFileOfTheUsersWritesNothing) {
  test::WriteText(Out("data.sha256"), "mine\n");
  request.writeChecksums = true;
  SplitResult result = Split();
  EXPECT_EQ(result.stop, SplitStop::kSideFileInTheWay);
  EXPECT_EQ(result.problem,
            Out("data.sha256") +
                " is not this series' checksum file (it does not list exactly its fragments): it "
                "is kept. Please move it away or choose another destination folder.");
  EXPECT_EQ(test::NamesIn(out), std::vector<std::string>{"data.sha256"});
  // Recovery files are written by the front end afterwards: their names
  // are checked before the series is written.
  request.writeChecksums = false;
  request.writeRecovery = true;
  test::WriteBytes(Out("notes.txt"), test::PatternBytes(100, 3));
  test::WriteBytes(Out("data.001"), test::PatternBytes(100, 4));
  WriteRecovery(Out("data."), {Out("data.001"), Out("notes.txt")});
  const Bytes index = test::ReadBytes(Out("data.par2"));
  result = Split();
  EXPECT_EQ(result.stop, SplitStop::kSideFileInTheWay);
  EXPECT_EQ(test::ReadBytes(Out("data.par2")), index);
  EXPECT_EQ(test::ReadBytes(Out("data.001")), test::PatternBytes(100, 4));
  // Without asking for either, the split goes ahead and keeps both.
  request.writeRecovery = false;
  result = Split();
  EXPECT_TRUE(result.Complete());
  EXPECT_EQ(result.keptSideFiles.size(), 4u);
}

}  // namespace
}  // namespace vtq
