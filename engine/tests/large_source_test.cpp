// A source of 5 GiB, the size of a DVD image, split into 100 MiB fragments
// and assembled back: 64-bit offsets all the way, and progress figures in
// units that a 32-bit progress bar can take.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "engine/assembler.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/splitter.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"

namespace vtq {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint64_t kSourceLength = uint64_t{5} << 30;
constexpr int32_t kFragment = 104857600;
const Bytes kTail = test::PatternBytes(4096, 11);

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + kPathSeparator + name;
}

// A sparse source: zeros, then a recognisable tail.
void WriteSparseSource(const std::string& name) {
  test::WriteBytes(name, {});
  fs::resize_file(name, kSourceLength - kTail.size());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "ab"),
                                                       &std::fclose);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(kTail.data(), 1, kTail.size(), file.get()), kTail.size());
}

// True when `name` holds exactly what WriteSparseSource wrote.
bool HoldsTheSource(const std::string& name) {
  if (FileLength(name) != kSourceLength)
    return false;
  File file(name, File::Mode::kRead);
  Bytes piece(size_t{8} << 20);
  const Bytes zeros(piece.size());
  for (uint64_t left = kSourceLength - kTail.size(); left > 0;) {
    const size_t now = static_cast<size_t>(std::min<uint64_t>(left, piece.size()));
    file.ReadExactly(piece.data(), now);
    if (std::memcmp(piece.data(), zeros.data(), now) != 0)
      return false;
    left -= now;
  }
  Bytes tail(kTail.size());
  file.ReadExactly(tail.data(), tail.size());
  return tail == kTail;
}

TEST(LargeSource, FiveGiBSplitAndAssembledBack) {
  const test::ScratchDir dir;
  const auto room = fs::space(dir.Path()).available;
  if (room < (uint64_t{11} << 30))
    GTEST_SKIP() << "needs 11 GiB free beside the scratch folder, has " << (room >> 20) << " MiB";
  test::MakeFolder(dir / "out");
  test::MakeFolder(dir / "joined");
  const std::string source = dir / "dvd.iso";
  WriteSparseSource(source);

  test::TestPlatform doubles;
  Platform platform = doubles.Fake();
  Globals globals{platform};
  // Fixed drives with room; the only one the assembler asks about is the
  // first fragment's.
  for (const std::string& root : {DriveRoot(dir / "out" + kPathSeparator),
                                  DriveRoot(DriveOfName(InFolder(dir / "out", "dvd.001")))}) {
    doubles.fakeDrives.drives[root].freeBytes = uint64_t{1} << 40;
  }

  test::RecordingSplitterEvents splitEvents;
  {
    ActiveSplitter splitter{globals, splitEvents};
    splitter.SetDestinationFolder(dir / "out");
    int32_t size = kFragment;
    splitter.SetFragmentSize(size);
    ASSERT_EQ(splitter.FilesToSplit().Add(source), 0);
    ASSERT_EQ(splitter.FragsNeeded(1), 52);
    splitter.Split();
  }
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_TRUE(doubles.advisor.asked.empty());
  // 53 x 100 MiB is past 2^31 - 1 twice over: units of 4 bytes, 26,214,400
  // of them a fragment.
  std::vector<std::string> expected = {"SplitStart(1389363200)"};
  for (int i = 1; i <= 52; ++i)
    expected.push_back("SplitInterval(" + std::to_string(int64_t{i} * 26214400) + ")");
  expected.push_back("SplitInterval(1389363200)");
  EXPECT_EQ(splitEvents.log, expected);
  EXPECT_EQ(FileLength(InFolder(dir / "out", "dvd.051")), uint64_t{kFragment});
  EXPECT_FALSE(FileExists(InFolder(dir / "out", "dvd.053")));
  fs::remove(source);  // room for the assembled copy

  test::RecordingAssemblerEvents assembleEvents;
  ActiveAssembler assembler{globals, assembleEvents};
  assembler.DestinationFolder(dir / "joined");
  ASSERT_EQ(assembler.FilesToAssemble().Add(InFolder(dir / "out", "dvd.001")), 0);
  assembler.Assemble();
  EXPECT_EQ(assembler.CompletedSeries(), 1);
  ASSERT_EQ(assembleEvents.log.size(), 53u);
  EXPECT_EQ(assembleEvents.log.front(), "start 52");
  EXPECT_EQ(assembleEvents.log.back(), "interval 52");
  EXPECT_TRUE(HoldsTheSource(InFolder(dir / "joined", "dvd.iso")));
}

}  // namespace
}  // namespace vtq
