// A fragment copied on a thread of its own: a failed copy is made again on
// the caller's thread so that its error can be trapped and retried, and an
// unfinished fragment leaves nothing behind.

#include "engine/background_fragment_copy.h"

#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {
namespace {

TEST(BackgroundFragmentCopy, CopiesTheRangeAndGivesTheFragmentItsName) {
  ScratchDir dir;
  const auto data = PatternBytes(50000);
  WriteBytes(dir / "source.bin", data);
  BackgroundFragmentCopy copy(WorkingFile(dir / "source.002"), 2, dir / "source.bin", 20000, 25000);
  copy.Finish();
  copy.Finish();  // nothing more to do
  EXPECT_EQ(ReadBytes(dir / "source.002"), Slice(data, 20000, 25000));
  EXPECT_EQ(copy.Number(), 2);
  EXPECT_EQ(copy.Name(), dir / "source.002");
  EXPECT_EQ(copy.Length(), 25000u);
  EXPECT_TRUE(WorkingFilesIn(dir.Path()).empty());
}

TEST(BackgroundFragmentCopy, AFailedCopyRaisesOnTheCallersThreadAndCanBeRetried) {
  ScratchDir dir;
  BackgroundFragmentCopy copy(WorkingFile(dir / "gone.001"), 1, dir / "gone.bin", 0, 100);
  EXPECT_EQ(ErrorOf([&] { copy.Finish(); }), err::kFileNotFound);
  EXPECT_FALSE(FileExists(dir / "gone.001"));
  // The source is back: the step run again finishes the fragment.
  const auto data = PatternBytes(100);
  WriteBytes(dir / "gone.bin", data);
  copy.Finish();
  EXPECT_EQ(ReadBytes(dir / "gone.001"), data);
}

TEST(BackgroundFragmentCopy, AnUnfinishedFragmentGoesWithTheObject) {
  ScratchDir dir;
  WriteBytes(dir / "source.bin", PatternBytes(300000));
  WriteText(dir / "source.001", "the older fragment");
  {
    BackgroundFragmentCopy copy(WorkingFile(dir / "source.001"), 1, dir / "source.bin", 0, 300000);
  }
  EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"source.001", "source.bin"}));
  const std::string older = "the older fragment";
  EXPECT_EQ(ReadBytes(dir / "source.001"), std::vector<uint8_t>(older.begin(), older.end()));
}

}  // namespace
}  // namespace vtq::test
