// Recovery files written and read back: every fragment of a 20-fragment
// series lost in turn and rebuilt byte for byte, as many lost as there are
// recovery slices, one more (nothing written), fragments damaged in place,
// a damaged recovery volume, and the column-by-column passes of a small
// memory budget giving the very same files as one pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "base/code_page.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/scratch.h"
#include "recovery/gf16.h"
#include "recovery/packets.h"
#include "recovery/recovery_files.h"
#include "recovery/recovery_writer.h"
#include "recovery/region_multiply.h"
#include "recovery/repair.h"
#include "recovery/volume_names.h"

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

class RecoveryRoundTrip : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::vector<std::string> names;
  std::vector<Bytes> contents;

  // `count` fragments of `size` bytes, the last one shorter.
  void MakeSeries(int count, size_t size) {
    for (int i = 1; i <= count; ++i) {
      const std::string number = std::string(i < 10 ? "00" : "0") + std::to_string(i);
      names.push_back(dir / ("data." + number));
      contents.push_back(test::PatternBytes(i == count ? size / 3 + 1 : size, 100 + i));
      test::WriteBytes(names.back(), contents.back());
    }
  }
  RecoveryWritten Write(uint64_t sliceSize, uint32_t slices, size_t budget = kDefaultMemoryBudget) {
    RecoveryRequest request;
    request.files = names;
    request.prefix = dir / "data.";
    request.sliceSize = sliceSize;
    request.recoverySlices = slices;
    request.memoryBudget = budget;
    return WriteRecoveryFiles(request);
  }
  LoadedSet Load() { return LoadRecoveryFiles(FindRecoveryFiles(dir / "data.par2")); }
  RepairOutcome Repair(const LoadedSet& loaded) {
    const SetCheck check = CheckFiles(*loaded.set, dir.Path());
    return RepairFiles(*loaded.set, loaded.slices, check);
  }
  void ExpectAllAsWritten() {
    for (size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(test::ReadBytes(names[i]), contents[i]) << names[i];
  }
  size_t WorkingFiles() {
    const auto all = test::NamesIn(dir.Path());
    return static_cast<size_t>(std::count_if(
        all.begin(), all.end(), [](const std::string& n) { return n.ends_with(".rebuilding"); }));
  }
};

TEST_F(RecoveryRoundTrip, EveryFragmentLostInTurnIsRebuiltByteForByte) {
  MakeSeries(20, 1000);
  const RecoveryWritten written = Write(1000, 2);
  EXPECT_EQ(written.files, (std::vector<std::string>{dir / "data.par2", dir / "data.vol0+1.par2",
                                                     dir / "data.vol1+1.par2"}));
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  EXPECT_EQ(loaded.set->files.size(), 20u);
  EXPECT_EQ(loaded.slices.size(), 2u);
  EXPECT_TRUE(loaded.damaged.empty());
  EXPECT_TRUE(CheckFiles(*loaded.set, dir.Path()).Whole());
  for (size_t i = 0; i < names.size(); ++i) {
    RemoveFile(names[i]);
    const SetCheck check = CheckFiles(*loaded.set, dir.Path());
    EXPECT_EQ(check.missingSlices, 1u);
    const RepairOutcome outcome = RepairFiles(*loaded.set, loaded.slices, check);
    EXPECT_EQ(outcome.rebuilt, std::vector<std::string>{names[i]});
    EXPECT_TRUE(outcome.notRebuilt.empty());
    EXPECT_EQ(test::ReadBytes(names[i]), contents[i]) << names[i];
  }
  EXPECT_EQ(WorkingFiles(), 0u);
}

TEST_F(RecoveryRoundTrip, AsManyLostAsRecoverySlicesAreRebuiltOneMoreWritesNothing) {
  MakeSeries(20, 1200);
  Write(400, 9);  // three slices a fragment
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  for (const int lost : {2, 9, 17})
    RemoveFile(names[lost]);
  RepairOutcome outcome = Repair(loaded);
  EXPECT_EQ(outcome.rebuilt.size(), 3u);
  EXPECT_EQ(outcome.problem, "");
  ExpectAllAsWritten();

  for (const int lost : {0, 5, 11})
    RemoveFile(names[lost]);
  Bytes damaged = contents[12];
  damaged[5] ^= 0x40;  // one more slice
  test::WriteBytes(names[12], damaged);
  outcome = Repair(loaded);
  EXPECT_TRUE(outcome.rebuilt.empty());
  EXPECT_EQ(outcome.notRebuilt.size(), 4u);
  EXPECT_EQ(outcome.problem, "the recovery files hold 9 sound recovery slices, 10 are needed");
  EXPECT_FALSE(FileExists(names[0]));
  EXPECT_EQ(test::ReadBytes(names[12]), damaged);
  EXPECT_EQ(WorkingFiles(), 0u);
}

TEST_F(RecoveryRoundTrip, FragmentsDamagedInPlaceKeepTheirGoodSlices) {
  MakeSeries(6, 4000);
  Write(1000, 2);
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  Bytes first = contents[0];
  first[2500] ^= 1;  // its third slice of four
  test::WriteBytes(names[0], first);
  Bytes cut = contents[3];
  cut.resize(3500);  // its last half slice gone
  test::WriteBytes(names[3], cut);
  const SetCheck check = CheckFiles(*loaded.set, dir.Path());
  EXPECT_EQ(std::count_if(check.files.begin(), check.files.end(),
                          [](const FileCheck& f) { return f.state == FileState::kDamaged; }),
            2);
  EXPECT_EQ(check.missingSlices, 2u);
  const RepairOutcome outcome = RepairFiles(*loaded.set, loaded.slices, check);
  EXPECT_EQ(outcome.rebuilt.size(), 2u);
  ExpectAllAsWritten();
}

TEST_F(RecoveryRoundTrip, BytesAddedToAFragmentAreCutAwayWithoutARecoverySlice) {
  MakeSeries(4, 1000);
  Write(1000, 1);
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  Bytes longer = contents[1];
  longer.resize(longer.size() + 10, 0x55);
  test::WriteBytes(names[1], longer);
  const SetCheck check = CheckFiles(*loaded.set, dir.Path());
  EXPECT_FALSE(check.Whole());
  EXPECT_EQ(check.missingSlices, 0u);
  const RepairOutcome outcome = RepairFiles(*loaded.set, {}, check);
  EXPECT_EQ(outcome.rebuilt, std::vector<std::string>{names[1]});
  ExpectAllAsWritten();
}

TEST_F(RecoveryRoundTrip, ADamagedVolumeLosesOnlyItsOwnSlices) {
  MakeSeries(10, 2000);
  const RecoveryWritten written = Write(2000, 3);
  ASSERT_EQ(written.files.size(), 3u);  // index, vol0+1, vol1+2
  Bytes volume = test::ReadBytes(written.files[2]);
  volume[64 + 4 + 100] ^= 0xFF;  // the data of its first slice
  test::WriteBytes(written.files[2], volume);
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  EXPECT_EQ(loaded.damaged, std::vector<std::string>{written.files[2]});
  ASSERT_EQ(loaded.slices.size(), 2u);
  EXPECT_EQ(loaded.slices[0].exponent, 0u);
  EXPECT_EQ(loaded.slices[1].exponent, 2u);
  RemoveFile(names[4]);
  RemoveFile(names[7]);
  EXPECT_EQ(Repair(loaded).rebuilt.size(), 2u);
  ExpectAllAsWritten();

  // Without its index file, the volumes still describe the set.
  RemoveFile(written.files[0]);
  RemoveFile(names[1]);
  const LoadedSet withoutIndex = Load();
  ASSERT_TRUE(withoutIndex.set);
  EXPECT_EQ(Repair(withoutIndex).rebuilt, std::vector<std::string>{names[1]});
  ExpectAllAsWritten();
}

TEST_F(RecoveryRoundTrip, ColumnPassesWriteTheSameFilesAsOnePass) {
  MakeSeries(8, 3000);
  const RecoveryWritten onePass = Write(3000, 4);
  std::vector<Bytes> expected;
  for (const std::string& name : onePass.files)
    expected.push_back(test::ReadBytes(name));
  // Room for the columns of 4 outputs and 4 inputs 1,024 bytes wide, and
  // their multipliers: three passes over the inputs.
  const size_t multipliers = sizeof(std::optional<RegionMultiplier>);
  const RecoveryWritten passes = Write(3000, 4, 8 * 1024 + 16 * multipliers);
  ASSERT_EQ(passes.files, onePass.files);
  for (size_t i = 0; i < passes.files.size(); ++i)
    EXPECT_EQ(test::ReadBytes(passes.files[i]), expected[i]) << passes.files[i];
  // Rebuilding in passes too.
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  RemoveFile(names[0]);
  RemoveFile(names[7]);
  const SetCheck check = CheckFiles(*loaded.set, dir.Path());
  EXPECT_EQ(
      RepairFiles(*loaded.set, loaded.slices, check, 6 * 512 + 8 * multipliers).rebuilt.size(), 2u);
  ExpectAllAsWritten();
}

TEST_F(RecoveryRoundTrip, ASingularChoiceOfRecoverySlicesIsReplacedByOneThatSolves) {
  // 130 slices of one file; slices 1 and 129 (counted from 1) lost, and the
  // recovery slices of exponents 0 and 257 first in line.
  names.push_back(dir / "data.001");
  contents.push_back(test::PatternBytes(130 * 8, 9));
  test::WriteBytes(names[0], contents[0]);
  Write(8, 258);
  const LoadedSet loaded = Load();
  ASSERT_TRUE(loaded.set);
  ASSERT_EQ(loaded.slices.size(), 258u);
  const auto slicesOf = [&](std::vector<uint32_t> exponents) {
    std::vector<FoundSlice> chosen;
    for (const uint32_t e : exponents) {
      for (const FoundSlice& slice : loaded.slices) {
        if (slice.exponent == e)
          chosen.push_back(slice);
      }
    }
    return chosen;
  };
  Bytes damaged = contents[0];
  damaged[3] ^= 1;
  damaged[128 * 8 + 5] ^= 0x20;
  test::WriteBytes(names[0], damaged);
  const SetCheck check = CheckFiles(*loaded.set, dir.Path());
  EXPECT_EQ(check.missingSlices, 2u);
  const RepairOutcome stuck = RepairFiles(*loaded.set, slicesOf({0, 257}), check);
  EXPECT_TRUE(stuck.rebuilt.empty());
  EXPECT_EQ(stuck.problem, "the recovery slices at hand do not determine the lost data");
  EXPECT_EQ(test::ReadBytes(names[0]), damaged);
  const RepairOutcome outcome = RepairFiles(*loaded.set, slicesOf({0, 257, 4}), check);
  EXPECT_EQ(outcome.rebuilt, names) << outcome.problem;
  ExpectAllAsWritten();
  // In the order the volumes give them, 0 and 1 solve at once.
  test::WriteBytes(names[0], damaged);
  EXPECT_EQ(Repair(loaded).rebuilt, names);
  ExpectAllAsWritten();
}

TEST_F(RecoveryRoundTrip, NoRecoveryFilesOrAForeignFileGiveNoSet) {
  MakeSeries(3, 100);
  EXPECT_FALSE(Load().set);
  test::WriteBytes(dir / "data.par2", test::PatternBytes(5000, 9));
  const LoadedSet loaded = Load();
  EXPECT_FALSE(loaded.set);
  EXPECT_EQ(loaded.damaged, std::vector<std::string>{dir / "data.par2"});
}

TEST_F(RecoveryRoundTrip, ASetNamingAFileOutsideItsFolderIsNotUsed) {
  // A hostile set that would have a repair write beside the folder.
  DescribedFile file;
  file.name = "../escape.bin";
  file.length = 4;
  const Bytes four = {1, 2, 3, 4};
  file.md5 = Md5Of(four.data(), four.size());
  file.md5First16k = file.md5;
  file.id = FileIdOf(file.md5First16k, file.length, file.name);
  Bytes padded = four;
  padded.resize(4);
  file.slices.push_back({Md5Of(padded.data(), 4), Crc32(padded.data(), 4)});
  const Bytes main = MainBody(4, {file.id});
  const Id16 setId = Md5Of(main.data(), main.size());
  Bytes packets = MakePacket(setId, MainPacketType(), main);
  for (const Bytes& packet : {MakePacket(setId, FileDescriptionType(), FileDescriptionBody(file)),
                              MakePacket(setId, SliceChecksumType(), SliceChecksumBody(file))})
    packets.insert(packets.end(), packet.begin(), packet.end());
  test::WriteBytes(dir / "data.par2", packets);
  const LoadedSet loaded = Load();
  EXPECT_FALSE(loaded.set);
  EXPECT_EQ(loaded.refusal, "it names a file outside its folder (../escape.bin)");

  for (const char* inside : {"a.001", "sub/a.001", "sub\\a.001", "a..b"})
    EXPECT_TRUE(NameStaysInside(inside)) << inside;
  for (const char* outside :
       {"", "..", ".", "../a", "a/../b", "/etc/passwd", "\\\\server\\x", "C:x", "a//b", "a/"})
    EXPECT_FALSE(NameStaysInside(outside)) << outside;
  EXPECT_EQ(NameInFolder(dir.Path(), "sub/a.001"), WithTrailingSeparator(dir / "sub") + "a.001");
}

// A set's names as other writers leave them: the Unicode packet's name
// wins over the description's; a description's name that is not UTF-8 is
// an older Windows writer's code-page text.
TEST_F(RecoveryRoundTrip, NamesComeFromTheUnicodePacketOrAreReadAsTheyWereWritten) {
  const auto packetsFor = [](const std::string& described, const std::string* unicode) {
    DescribedFile file;
    file.name = described;
    file.length = 4;
    const Bytes four = {1, 2, 3, 4};
    file.md5 = Md5Of(four.data(), four.size());
    file.md5First16k = file.md5;
    file.id = FileIdOf(file.md5First16k, file.length, file.name);
    file.slices.push_back({Md5Of(four.data(), 4), Crc32(four.data(), 4)});
    const Bytes main = MainBody(4, {file.id});
    const Id16 setId = Md5Of(main.data(), main.size());
    Bytes packets = MakePacket(setId, MainPacketType(), main);
    std::vector<Bytes> more = {MakePacket(setId, FileDescriptionType(), FileDescriptionBody(file)),
                               MakePacket(setId, SliceChecksumType(), SliceChecksumBody(file))};
    if (unicode)
      more.push_back(
          MakePacket(setId, UnicodeFileNameType(), UnicodeFileNameBody(file.id, *unicode)));
    for (const Bytes& packet : more)
      packets.insert(packets.end(), packet.begin(), packet.end());
    return packets;
  };
  const std::string greek = "\xCE\xA9\xCE\xBC.001";  // Ωμ.001
  struct Case {
    std::string described;
    std::optional<std::string> unicode;
    std::string name;
  };
  const Case cases[] = {
      {"?.001", greek, greek},
      {greek, std::nullopt, greek},
      {"caf\xC3\xA9.001", std::nullopt, "caf\xC3\xA9.001"},
      {"caf\xE9.001", std::nullopt, base::AnsiCodePage().Decode("caf\xE9.001")},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir / "data.par2", packetsFor(c.described, c.unicode ? &*c.unicode : nullptr));
    const LoadedSet loaded = Load();
    ASSERT_TRUE(loaded.set) << c.name;
    ASSERT_EQ(loaded.set->files.size(), 1u);
    EXPECT_EQ(loaded.set->files[0].name, c.name);
  }
}

TEST_F(RecoveryRoundTrip, ASetBeyondTheFormatIsNotUsed) {
  const auto writeSet = [&](uint64_t sliceSize, uint64_t slices) {
    DescribedFile file;
    file.name = "data.001";
    file.length = sliceSize * slices;
    file.id = FileIdOf(file.md5First16k, file.length, file.name);
    file.slices.resize(slices);
    const Bytes main = MainBody(sliceSize, {file.id});
    const Id16 setId = Md5Of(main.data(), main.size());
    Bytes packets = MakePacket(setId, MainPacketType(), main);
    for (const Bytes& packet : {MakePacket(setId, FileDescriptionType(), FileDescriptionBody(file)),
                                MakePacket(setId, SliceChecksumType(), SliceChecksumBody(file))})
      packets.insert(packets.end(), packet.begin(), packet.end());
    test::WriteBytes(dir / "data.par2", packets);
  };
  writeSet(4, kMaxInputSlices);
  EXPECT_TRUE(Load().set);
  writeSet(4, kMaxInputSlices + 1);  // no constant for the last slice
  EXPECT_FALSE(Load().set);
  writeSet(uint64_t{1} << 32, 1);
  EXPECT_TRUE(Load().set);
  writeSet((uint64_t{1} << 32) + 4, 1);  // a few bytes would be padded for ever
  EXPECT_FALSE(Load().set);
}

TEST_F(RecoveryRoundTrip, RequestsBeyondTheFormatAreRefusedAndLeaveNothing) {
  MakeSeries(3, 100);
  EXPECT_THROW(Write(102, 1), VbError);  // no multiple of 4
  EXPECT_THROW(Write(100, 0), VbError);
  EXPECT_THROW(Write(100, 70000), VbError);
  names.push_back(dir / "missing.004");
  EXPECT_THROW(Write(100, 1), VbError);
  EXPECT_FALSE(FileExists(dir / "data.par2"));
  EXPECT_FALSE(FileExists(dir / "data.vol0+1.par2"));
}

}  // namespace
}  // namespace vtq::recovery
