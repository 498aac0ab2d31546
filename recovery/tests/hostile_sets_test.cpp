// Recovery sets made to stall, mislead or misdirect the reader and the
// repair, written packet by packet: stretches of magic numbers, packets
// claiming to run to the end, files listed over and over, slices larger than
// anything they cover or shorter than a slice, device names, a solve far
// beyond the data, links planted where files are written. Each is read in
// time in proportion to its size, refused with a reason, or worked round,
// and nothing outside is written.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/links.h"
#include "engine/tests/support/scratch.h"
#include "recovery/recovery_files.h"
#include "recovery/recovery_writer.h"
#include "recovery/repair.h"
#include "recovery/tests/packet_writer.h"

namespace vtq::recovery {
namespace {

using test::Append;
using test::Bytes;
using test::SetWriter;

class HostileSets : public ::testing::Test {
 protected:
  vtq::test::ScratchDir dir;

  LoadedSet Load(const Bytes& bytes) {
    vtq::test::WriteBytes(dir / "data.par2", bytes);
    return LoadRecoveryFiles({dir / "data.par2"});
  }
  // Three small files, described in full.
  SetWriter SmallSet() {
    SetWriter set(100);
    for (int i = 1; i <= 3; ++i)
      set.Describe("data.00" + std::to_string(i), vtq::test::PatternBytes(250, i));
    return set;
  }
};

TEST_F(HostileSets, DamagedStretchesAreReadOnceHoweverTheyAreMade) {
  const SetWriter set = SmallSet();
  // Magic numbers back to back: each one a header that is none.
  Bytes bytes;
  for (size_t i = 0; i < (1u << 20); ++i)
    bytes.insert(bytes.end(), kPacketMagic.begin(), kPacketMagic.end());
  Append(bytes, set.Critical());
  LoadedSet loaded = Load(bytes);
  ASSERT_TRUE(loaded.set);
  EXPECT_EQ(loaded.set->files.size(), 3u);
  EXPECT_EQ(loaded.damaged, std::vector<std::string>{dir / "data.par2"});

  // Headers every 64 bytes, each a recovery slice (or another packet) that
  // claims to run to the end of the file: every one would be hashed over
  // the rest of it.
  for (const PacketType& type : {RecoverySliceType(), SliceChecksumType()}) {
    bytes = set.Critical();
    const size_t start = bytes.size();
    const size_t end = start + (8u << 20);
    const Id16 setId = set.SetId();
    for (size_t at = start; at < end; at += 64)
      Append(bytes, test::BareHeader(end - at, setId, type));
    loaded = Load(bytes);
    ASSERT_TRUE(loaded.set);
    EXPECT_TRUE(loaded.slices.empty());
    EXPECT_EQ(loaded.damaged, std::vector<std::string>{dir / "data.par2"});
  }
}

TEST_F(HostileSets, OnlySlicesOfTheSetsSliceSizeCount) {
  const SetWriter set = SmallSet();
  Bytes bytes = set.Critical();
  Append(bytes, set.RecoverySlice(0, Bytes(100, 1)));
  Append(bytes, set.RecoverySlice(1, Bytes(8, 2)));    // a sound packet, but short
  Append(bytes, set.RecoverySlice(2, Bytes(104, 3)));  // and one too long
  const LoadedSet loaded = Load(bytes);
  ASSERT_TRUE(loaded.set);
  ASSERT_EQ(loaded.slices.size(), 1u);
  EXPECT_EQ(loaded.slices[0].exponent, 0u);
  EXPECT_EQ(loaded.slices[0].dataLength, 100u);
  EXPECT_TRUE(loaded.damaged.empty());
}

TEST_F(HostileSets, AFileListedTwiceRefusesTheSet) {
  // One file listed 32,768 times with 4 GiB slices: each listing would
  // hash the file padded to 4 GiB.
  SetWriter repeated(uint64_t{1} << 32);
  const Id16 id = repeated.DescribeUnseen("data.001", 1000).id;
  repeated.listed.assign(kMaxInputSlices, id);
  LoadedSet loaded = Load(repeated.Critical());
  EXPECT_FALSE(loaded.set);
  EXPECT_EQ(loaded.refusal, "it lists data.001 twice");

  // Two files of one name, told apart by their length.
  SetWriter sameName(100);
  sameName.Describe("data.001", Bytes(100, 1));
  sameName.Describe("data.001", Bytes(50, 1));
  loaded = Load(sameName.Critical());
  EXPECT_FALSE(loaded.set);
  EXPECT_EQ(loaded.refusal, "it lists data.001 twice");

  // Slices larger than every file are what par2 makes when asked to.
  SetWriter wide(1 << 20);
  wide.Describe("data.001", Bytes(1000, 1));
  EXPECT_TRUE(Load(wide.Critical()).set);
}

TEST_F(HostileSets, FilesAtHandAreNotPaddedWithGigabytesOfZeros) {
  // 4 GiB slices: each small file at hand would be hashed padded to 4 GiB.
  SetWriter set(uint64_t{1} << 32);
  for (int i = 1; i <= 50; ++i) {
    const std::string name = "data.0" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    const Bytes content = vtq::test::PatternBytes(100, i);
    vtq::test::WriteBytes(dir / name, content);
    // The last one damaged: its slice would be hashed with the zeros.
    set.Describe(name, content, false);
    if (i == 50)
      vtq::test::WriteBytes(dir / name, Bytes(content.begin(), content.end() - 1));
  }
  const LoadedSet loaded = Load(set.Critical());
  ASSERT_TRUE(loaded.set);
  const SetCheck check = CheckFiles(*loaded.set, dir.Path());
  const auto intact = std::count_if(check.files.begin(), check.files.end(), [](const FileCheck& f) {
    return f.state == FileState::kIntact;
  });
  EXPECT_EQ(intact, 49);
  EXPECT_EQ(check.missingSlices, 1u);  // the damaged one's slice, left unhashed
}

TEST_F(HostileSets, ANameOfADeviceIsRefusedWhereTheSystemHasThem) {
  for (const std::string name : {"COM1", "sub/lpt1.txt", "nul.rebuilding", "CON"}) {
    SetWriter set(4);
    set.Describe(name, Bytes(4, 1));
    const LoadedSet loaded = Load(set.Critical());
#ifdef _WIN32
    EXPECT_FALSE(loaded.set) << name;
    EXPECT_EQ(loaded.refusal, "it names a device (" + name + ")");
#else
    // Only names; no file of the system opens a device for them here.
    EXPECT_TRUE(loaded.set) << name;
    EXPECT_EQ(NameRefusal(name), "");
#endif
  }
}

TEST_F(HostileSets, ASolveBeyondWhatTheSetCanNeedIsRefusedBeforeAnythingIsHeld) {
  constexpr size_t kBudget = size_t{256} << 20;
  const auto tryRepair = [&](uint32_t lost) {
    // One lost file of `lost` slices of 4 bytes, and as many recovery slices.
    SetWriter set(4);
    set.DescribeUnseen("data.001", uint64_t{4} * lost);
    Bytes bytes = set.Critical();
    for (uint32_t e = 0; e < lost; ++e)
      Append(bytes, set.RecoverySlice(e, Bytes(4, static_cast<uint8_t>(e))));
    const LoadedSet loaded = Load(bytes);
    EXPECT_TRUE(loaded.set);
    EXPECT_EQ(loaded.slices.size(), lost);
    const SetCheck check = CheckFiles(*loaded.set, dir.Path());
    return RepairFiles(*loaded.set, loaded.slices, check, kBudget);
  };
  RepairOutcome outcome = tryRepair(32768);
  EXPECT_EQ(outcome.problem,
            "rebuilding 32768 lost slices at once needs 6144 MiB of tables, more than the 128 MiB "
            "a repair may take");
  EXPECT_EQ(outcome.notRebuilt, std::vector<std::string>{dir / "data.001"});
  outcome = tryRepair(2000);
  EXPECT_EQ(outcome.problem,
            "solving for 2000 lost slices of 4 bytes would take far longer than the data they "
            "hold needs");
  EXPECT_FALSE(FileExists(dir / "data.001"));
  EXPECT_TRUE(vtq::test::WorkingFilesIn(dir.Path()).empty());
}

class HostileRepairs : public ::testing::Test {
 protected:
  vtq::test::ScratchDir dir;
  std::vector<std::string> names;
  std::vector<Bytes> contents;

  // Five fragments of 2,000 bytes; the third ends in 600 zero bytes.
  void SetUp() override {
    for (int i = 1; i <= 5; ++i) {
      names.push_back(dir / ("data.00" + std::to_string(i)));
      contents.push_back(vtq::test::PatternBytes(2000, 30 + i));
      if (i == 3)
        std::fill(contents.back().end() - 600, contents.back().end(), 0);
      vtq::test::WriteBytes(names.back(), contents.back());
    }
  }
  void Write(uint32_t slices) {
    RecoveryRequest request;
    request.files = names;
    request.prefix = dir / "data.";
    request.sliceSize = 2000;
    request.recoverySlices = slices;
    WriteRecoveryFiles(request);
  }
  RepairOutcome Repair() {
    const LoadedSet loaded = LoadRecoveryFiles(FindRecoveryFiles(dir / "data.par2"));
    EXPECT_TRUE(loaded.set);
    return RepairFiles(*loaded.set, loaded.slices, CheckFiles(*loaded.set, dir.Path()));
  }
  void ExpectAsWritten() {
    for (size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(vtq::test::ReadBytes(names[i]), contents[i]) << names[i];
  }
};

TEST_F(HostileRepairs, AFragmentCutShortInsideItsTrailingZerosIsRebuilt) {
  Write(1);
  // Its slice still matches, padded with zeros; it only lacks its length.
  vtq::test::WriteBytes(names[2], Bytes(contents[2].begin(), contents[2].end() - 250));
  RepairOutcome outcome = Repair();
  EXPECT_EQ(outcome.rebuilt, std::vector<std::string>{names[2]});
  ExpectAsWritten();
  // And as the good input of another fragment's rebuilding.
  Write(2);
  vtq::test::WriteBytes(names[2], Bytes(contents[2].begin(), contents[2].end() - 599));
  RemoveFile(names[4]);
  outcome = Repair();
  EXPECT_EQ(outcome.rebuilt.size(), 2u);
  ExpectAsWritten();
}

TEST_F(HostileRepairs, AFileAtFaultTheCallerLeavesAloneIsSolvedForButNotWritten) {
  Write(2);
  RemoveFile(names[1]);
  vtq::test::WriteBytes(names[3], Bytes(2000, 9));
  const LoadedSet loaded = LoadRecoveryFiles(FindRecoveryFiles(dir / "data.par2"));
  SetCheck check = CheckFiles(*loaded.set, dir.Path());
  for (FileCheck& file : check.files)
    file.rebuild = file.name != names[3];
  const std::string leftName = names[3];
  const RepairOutcome outcome = RepairFiles(*loaded.set, loaded.slices, check);
  EXPECT_EQ(outcome.leftAlone, std::vector<std::string>{leftName});
  EXPECT_EQ(outcome.rebuilt.size(), 1u);
  EXPECT_EQ(vtq::test::ReadBytes(leftName), Bytes(2000, 9));
  EXPECT_EQ(vtq::test::ReadBytes(names[1]), contents[1]);
}

TEST_F(HostileRepairs, NothingIsWrittenThroughALinkPlantedWhereFilesAreWritten) {
  vtq::test::ScratchDir outside;
  vtq::test::WriteText(outside / "victim", "precious");
  const Bytes precious = vtq::test::ReadBytes(outside / "victim");
  // The recovery files' own names.
  vtq::test::PlantLink(dir / "data.par2", outside / "victim");
  vtq::test::PlantLink(dir / "data.vol0+1.par2", outside / "victim");
  Write(2);
  EXPECT_FALSE(vtq::test::IsLink(dir / "data.par2"));
  EXPECT_FALSE(vtq::test::IsLink(dir / "data.vol0+1.par2"));
  EXPECT_EQ(vtq::test::ReadBytes(outside / "victim"), precious);
  // The names a rebuilt fragment could be written under, and the fragment's
  // own name leading outside.
  RemoveFile(names[1]);
  RemoveFile(names[3]);
  vtq::test::PlantLink(names[1] + ".rebuilding", outside / "victim");
  vtq::test::PlantLink(names[3], outside / "victim");
  EXPECT_EQ(Repair().rebuilt.size(), 2u);
  EXPECT_FALSE(vtq::test::IsLink(names[3]));
  ExpectAsWritten();
  EXPECT_EQ(vtq::test::ReadBytes(outside / "victim"), precious);
  EXPECT_TRUE(vtq::test::IsLink(names[1] + ".rebuilding"));
}

#ifndef _WIN32  // Wine shows a Unix link as the folder it leads to
TEST_F(HostileRepairs, AFileBehindALinkedFolderIsLeftAlone) {
  vtq::test::ScratchDir outside;
  vtq::test::WriteText(outside / "victim", "precious");
  vtq::test::PlantLink(dir / "link", outside.Path());
  // A set of one file of one slice: its one recovery slice (exponent 0) is
  // the slice itself.
  SetWriter set(16);
  const Bytes rebuilt(16, 'X');
  set.Describe("link/victim", rebuilt);
  Bytes bytes = set.Critical();
  Append(bytes, set.RecoverySlice(0, rebuilt));
  vtq::test::WriteBytes(dir / "data.par2", bytes);
  const LoadedSet loaded = LoadRecoveryFiles({dir / "data.par2"});
  ASSERT_TRUE(loaded.set);
  const RepairOutcome outcome =
      RepairFiles(*loaded.set, loaded.slices, CheckFiles(*loaded.set, dir.Path()));
  EXPECT_EQ(outcome.leftAlone.size(), 1u);
  EXPECT_TRUE(outcome.rebuilt.empty());
  EXPECT_EQ(vtq::test::NamesIn(outside.Path()), std::vector<std::string>{"victim"});
  EXPECT_EQ(vtq::test::ReadBytes(outside / "victim"),
            Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  // Into a real folder of that name it is rebuilt.
  RemoveFile(dir / "link");
  vtq::test::MakeFolder(dir / "link");
  EXPECT_EQ(RepairFiles(*loaded.set, loaded.slices, CheckFiles(*loaded.set, dir.Path())).rebuilt,
            std::vector<std::string>{WithTrailingSeparator(dir / "link") + "victim"});
  EXPECT_EQ(vtq::test::ReadBytes(dir / "link" + "/victim"), rebuilt);
}
#endif

TEST_F(HostileRepairs, RecoveryFilesNeverTakeTheNameOfAFileTheyCover) {
  // data.par2 is one of the files to cover (a source of that name split
  // beside itself): the index file would replace it.
  vtq::test::WriteText(dir / "data.par2", "mine");
  names.push_back(dir / "data.par2");
  EXPECT_EQ(vtq::test::ErrorOf([&] { Write(1); }), err::kFileAlreadyExists);
  EXPECT_EQ(vtq::test::ReadBytes(dir / "data.par2"), Bytes({'m', 'i', 'n', 'e'}));
  EXPECT_FALSE(FileExists(dir / "data.vol0+1.par2"));
  EXPECT_TRUE(vtq::test::WorkingFilesIn(dir.Path()).empty());
}

}  // namespace
}  // namespace vtq::recovery
