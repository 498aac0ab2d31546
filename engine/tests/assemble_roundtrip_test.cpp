// Split with the engine's splitter, assemble with its assembler: the source
// comes back byte for byte in every format and with every protection the
// format can carry back.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/assembler.h"
#include "engine/globals.h"
#include "engine/platform/file_io.h"
#include "engine/splitter.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {
namespace {

struct Case {
  AftFileFormat format = aftQuorvelle;
  bool checkable = false;
  bool encrypted = false;
  bool multisize = false;
  size_t sourceSize = 0;
  int32_t size = 10240;
};

std::string Describe(const Case& c) {
  return "format " + std::to_string(c.format) + (c.checkable ? " checkable" : "") +
         (c.encrypted ? " encrypted" : "") + (c.multisize ? " multisize" : "") + " size " +
         std::to_string(c.sourceSize);
}

class RoundTrip : public ::testing::Test {
 protected:
  TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  SplitterEvents splitEvents;
  RecordingAssemblerEvents assembleEvents;
  ScratchDir source;
  ScratchDir fragments;
  ScratchDir out;

  // Splits `name` (in `folder`) and assembles its first fragment; returns
  // the assembled bytes' file name.
  std::string SplitAndAssemble(const Case& c, const std::string& folder, const std::string& name) {
    ActiveSplitter splitter(globals, splitEvents);
    splitter.FilesToSplit().Add(folder + name);
    splitter.SetDestinationFolder(fragments.Path());
    splitter.SetFileFormat(c.format);
    int32_t size = c.size;
    splitter.SetFragmentSize(size);
    if (c.multisize) {
      int32_t first = c.size + 5000;
      splitter.SetFragmentSizeAtStart(first);
    }
    splitter.SetCheckabilityEnabled(c.checkable);
    if (c.encrypted)
      splitter.SetEncryptionKey("Correct Horse");
    splitter.SetUseEncryption(c.encrypted);
    splitter.Split();

    ActiveAssembler assembler(globals, assembleEvents);
    assembler.DestinationFolder(out.Path());
    assembler.FormatForUnknowns(c.format == aftBrannock ? aftBrannock : aftRaw);
    if (c.encrypted)
      assembler.DecryptionKey("Correct Horse");
    const std::string stem = StemOf(name);
    assembler.FilesToAssemble().Add(fragments / (stem + "001"));
    assembler.Assemble();
    EXPECT_EQ(assembler.CompletedSeries(), 1) << Describe(c);
    return c.format == aftRaw ? out / (stem + "Unk") : out / name;
  }
};

TEST_F(RoundTrip, EveryFormatAndProtectionComesBackByteForByte) {
  std::vector<Case> cases;
  for (size_t sourceSize : {size_t{0}, size_t{100}, size_t{54321}}) {
    for (bool multisize : {false, true}) {
      cases.push_back({aftRaw, false, false, multisize, sourceSize});
      cases.push_back({aftBrannock, false, false, false, sourceSize});
      for (bool checkable : {false, true}) {
        for (bool encrypted : {false, true})
          cases.push_back({aftQuorvelle, checkable, encrypted, multisize, sourceSize});
      }
    }
  }
  int k = 0;
  for (const Case& c : cases) {
    const std::string name = "src" + std::to_string(++k) + ".data.bin";
    const Bytes data = PatternBytes(c.sourceSize, static_cast<uint32_t>(k));
    WriteBytes(source / name, data);
    const std::string assembled = SplitAndAssemble(c, source.Path(), name);
    EXPECT_EQ(ReadBytes(assembled), data) << Describe(c);
  }
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(RoundTrip, AThousandAndMoreFragments) {
  const Bytes data = PatternBytes(1005 * (10240 - 4) + 77, 9);
  WriteBytes(source / "huge.bin", data);
  const std::string assembled =
      SplitAndAssemble({aftQuorvelle, true, false, false, data.size()}, source.Path(), "huge.bin");
  EXPECT_TRUE(FileExists(fragments / "huge.1000"));
  EXPECT_TRUE(FileExists(fragments / "huge.1006"));
  EXPECT_FALSE(FileExists(fragments / "huge.1007"));
  EXPECT_EQ(ReadBytes(assembled), data);
  EXPECT_EQ(assembleEvents.log.front(), "start 1006");
}

TEST_F(RoundTrip, ANameOf250CharactersComesBack) {
#ifdef _WIN32
  // The ANSI file functions take paths of up to 259 characters: the longest
  // name that fits in each folder of the run.
  const size_t longest =
      259 - std::max({source.Path().size(), fragments.Path().size(), out.Path().size()});
#else
  const size_t longest = 250;
#endif
  const std::string name = std::string(longest - 4, 'q') + ".bin";
  const Bytes data = PatternBytes(25000, 8);
  WriteBytes(source / name, data);
  const std::string assembled =
      SplitAndAssemble({aftQuorvelle, true, false, false, data.size()}, source.Path(), name);
  EXPECT_EQ(assembled, out / name);
  EXPECT_EQ(ReadBytes(assembled), data);
  EXPECT_EQ(NamesIn(out.Path()), std::vector<std::string>{name});
  EXPECT_EQ(NamesIn(fragments.Path()).size(), 3u);
}

TEST_F(RoundTrip, DotsInTheSourceFolderDoNotChangeTheStem) {
  const std::string folder = source / "release.v2";
  MakeFolder(folder);
  const Bytes data = PatternBytes(25000, 4);
  WriteBytes(folder + kPathSeparator + "notes.txt", data);
  const std::string assembled = SplitAndAssemble({aftRaw, false, false, false, data.size()},
                                                 folder + kPathSeparator, "notes.txt");
  EXPECT_EQ(assembled, out / "notes.Unk");
  EXPECT_EQ(ReadBytes(assembled), data);
}

TEST_F(RoundTrip, ABrannockSeriesOfTheSplitterIsNamedByItsPrefix) {
  const Bytes data = PatternBytes(30000, 6);
  WriteBytes(source / "old.style.doc", data);
  const std::string assembled = SplitAndAssemble({aftBrannock, false, false, false, data.size()},
                                                 source.Path(), "old.style.doc");
  EXPECT_EQ(assembled, out / "old.style.doc");
  EXPECT_EQ(ReadBytes(assembled), data);
  const Bytes first = ReadBytes(fragments / "old.001");
  EXPECT_EQ(std::string(first.begin(), first.begin() + 14), "old.style.doc\x1b");
}

}  // namespace
}  // namespace vtq::test
