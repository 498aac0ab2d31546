// Links planted in a destination before a run, as another user of a shared
// folder could: every file the engine writes is one it has just created, so
// nothing outside the destination is written, and a planted name is either
// replaced (the link itself, never what it leads to) or stepped round.

#include <gtest/gtest.h>

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/splitter.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/links.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq::test {
namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

size_t HeaderLength(const std::string& name) {
  HandHeader header;
  header.name = name;
  return HandHeaderBytes(header).size();
}

TEST(PlantedLinks, ANewFileIsNeverOpenedThroughALink) {
  ScratchDir outside;
  ScratchDir dir;
  PlantLink(dir / "dangling", outside / "made");
  EXPECT_EQ(ErrorOf([&] { File f(dir / "dangling", File::Mode::kCreateNew); }),
            err::kFileAlreadyExists);
  EXPECT_FALSE(FileExists(outside / "made"));

  WriteText(outside / "victim", "precious");
  PlantLink(dir / "to-victim", outside / "victim");
  EXPECT_EQ(ErrorOf([&] { File f(dir / "to-victim", File::Mode::kCreateNew); }),
            err::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(outside / "victim"), Text("precious"));

  // A finished file moved over the link takes the link's place.
  WriteText(dir / "finished", "fresh");
  ReplaceFile(dir / "finished", dir / "to-victim");
  EXPECT_FALSE(IsLink(dir / "to-victim"));
  EXPECT_EQ(ReadBytes(dir / "to-victim"), Text("fresh"));
  EXPECT_EQ(ReadBytes(outside / "victim"), Text("precious"));
}

TEST(PlantedLinks, AFragmentsNameThatIsALinkIsReplacedNotWrittenThrough) {
  SplitterHarness harness(SplitterDrives::kSystem);
  ActiveSplitter& splitter = harness.splitter;
  const ScratchDir& dir = harness.dir;
  ScratchDir outside;
  MakeFolder(dir / "out");
  splitter.SetDestinationFolder(dir / "out");
  splitter.SetFileFormat(aftRaw);
  harness.SetFragmentSize(10240);
  const Bytes data = PatternBytes(25000, 3);
  WriteBytes(dir / "d.bin", data);
  ASSERT_EQ(splitter.FilesToSplit().Add(dir / "d.bin"), 0);
  const std::string out = splitter.DestinationFolder();
  WriteText(outside / "victim", "precious");
  PlantLink(out + "d.001", outside / "victim");
  PlantLink(out + "d.002", outside / "planted");

  splitter.Split();
  EXPECT_EQ(ReadBytes(outside / "victim"), Text("precious"));
  EXPECT_FALSE(FileExists(outside / "planted"));
  EXPECT_EQ(NamesIn(outside.Path()), std::vector<std::string>{"victim"});
  EXPECT_FALSE(IsLink(out + "d.001"));
  EXPECT_FALSE(IsLink(out + "d.002"));
  EXPECT_EQ(ReadBytes(out + "d.001"), Slice(data, 0, 10240));
  EXPECT_EQ(ReadBytes(out + "d.002"), Slice(data, 10240, 10240));
  EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"d.001", "d.002", "d.003"}));
}

TEST(PlantedLinks, AFragmentReplacedInPlaceOnAFullRemovableDiskDropsTheLink) {
  SplitterHarness harness;
  ActiveSplitter& splitter = harness.splitter;
  const ScratchDir& dir = harness.dir;
  ScratchDir outside;
  splitter.SetDestinationFolder(dir.Path());
  splitter.SetFileFormat(aftRaw);
  harness.SetFragmentSize(10240);
  const Bytes data = PatternBytes(25000, 3);
  WriteBytes(outside / "x.bin", data);
  ASSERT_EQ(splitter.FilesToSplit().Add(outside / "x.bin"), 0);
  // Room for the series in three disks, not for two fragments side by side.
  harness.RemovableDestination(1457664, 9000);
  WriteText(outside / "victim", "precious");
  PlantLink(dir / "x.002", outside / "victim");

  splitter.SetRegenerateFragment(2);
  splitter.Split();
  EXPECT_EQ(ReadBytes(outside / "victim"), Text("precious"));
  EXPECT_FALSE(IsLink(dir / "x.002"));
  EXPECT_EQ(ReadBytes(dir / "x.002"), Slice(data, 10240, 10240));
}

class PlantedLinksAssembling : public ::testing::Test, protected AssemblerHarness {
 protected:
  ScratchDir outside;
};

TEST_F(PlantedLinksAssembling, TheAssembledFileNeverGoesThroughALink) {
  const Bytes data = PatternBytes(25000, 4);
  Add(WriteFragments(in / "x.", OwnSeries(data, 10240, "x.bin")));
  // The name the working file once had, and the final name.
  PlantLink(out / "x.bin.vtq-part", outside / "stolen");
  PlantLink(out / "x.bin", outside / "redirected");

  assembler.Assemble();
  EXPECT_EQ(assembler.CompletedSeries(), 1);
  EXPECT_TRUE(NamesIn(outside.Path()).empty());
  EXPECT_FALSE(IsLink(out / "x.bin"));
  EXPECT_EQ(ReadBytes(out / "x.bin"), data);
  EXPECT_TRUE(IsLink(out / "x.bin.vtq-part"));  // left alone
}

TEST_F(PlantedLinksAssembling, APartialOutputIsNeverKeptThroughALink) {
  const Bytes data = PatternBytes(25000, 4);
  Add(WriteFragments(in / "x.", OwnSeries(data, 10240, "x.bin")));
  RemoveFile(in / "x.003");
  WriteText(outside / "victim", "precious");
  PlantLink(out / "x.bin.partial", outside / "victim");
  PlantLink(out / "x.bin.partial2", outside / "planted");

  EXPECT_EQ(ErrorOf([&] { assembler.Assemble(); }), err::kFileNotFound);
  EXPECT_EQ(ReadBytes(outside / "victim"), Text("precious"));
  EXPECT_EQ(NamesIn(outside.Path()), std::vector<std::string>{"victim"});
  ASSERT_EQ(assembler.KeptPartials().size(), 1u);
  const std::string kept = assembler.KeptPartials()[0];
  EXPECT_FALSE(IsLink(kept));
  EXPECT_EQ(ReadBytes(kept), Slice(data, 0, 2 * 10240 - HeaderLength("x.bin")));
  EXPECT_TRUE(IsLink(out / "x.bin.partial"));
  EXPECT_FALSE(FileExists(out / "x.bin"));
}

}  // namespace
}  // namespace vtq::test
