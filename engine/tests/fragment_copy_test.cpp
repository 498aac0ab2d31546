// Fragments copied ahead on a worker thread or the caller's: a failed copy
// is made again on the caller's thread so that its error can be trapped and
// retried, and an unfinished fragment leaves nothing behind; the workers.

#include "engine/fragment_copy.h"

#include <gtest/gtest.h>

#include <atomic>

#include "engine/error.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {
namespace {

TEST(FragmentCopy, CopiesTheRangeOnAWorkerOrHereAndGivesTheFragmentItsName) {
  ScratchDir dir;
  WorkerThreads workers(1);
  const auto data = PatternBytes(50000);
  WriteBytes(dir / "source.bin", data);
  FragmentCopy ahead(&workers, WorkingFile(dir / "source.002"), 2, dir / "source.bin", 20000,
                     25000);
  FragmentCopy here(nullptr, WorkingFile(dir / "source.003"), 3, dir / "source.bin", 45000, 5000);
  EXPECT_TRUE(ahead.OnAWorker());
  EXPECT_FALSE(here.OnAWorker());
  EXPECT_FALSE(FileExists(dir / "source.003"));  // named only when finished
  for (FragmentCopy* copy : {&ahead, &here}) {
    copy->Finish();
    copy->Finish();  // nothing more to do
  }
  EXPECT_EQ(ReadBytes(dir / "source.002"), Slice(data, 20000, 25000));
  EXPECT_EQ(ReadBytes(dir / "source.003"), Slice(data, 45000, 5000));
  EXPECT_EQ(ahead.Number(), 2);
  EXPECT_EQ(ahead.Name(), dir / "source.002");
  EXPECT_EQ(ahead.Length(), 25000u);
  EXPECT_TRUE(WorkingFilesIn(dir.Path()).empty());
}

TEST(FragmentCopy, AFailedCopyRaisesOnTheCallersThreadAndCanBeRetried) {
  ScratchDir dir;
  FragmentCopy copy(nullptr, WorkingFile(dir / "gone.001"), 1, dir / "gone.bin", 0, 100);
  EXPECT_EQ(ErrorOf([&] { copy.Finish(); }), err::kFileNotFound);
  EXPECT_FALSE(FileExists(dir / "gone.001"));
  // The source is back: the step run again finishes the fragment.
  const auto data = PatternBytes(100);
  WriteBytes(dir / "gone.bin", data);
  copy.Finish();
  EXPECT_EQ(ReadBytes(dir / "gone.001"), data);
}

TEST(FragmentCopy, AnUnfinishedFragmentGoesWithTheObject) {
  ScratchDir dir;
  WorkerThreads workers(2);
  WriteBytes(dir / "source.bin", PatternBytes(300000));
  WriteText(dir / "source.001", "the older fragment");
  {
    FragmentCopy copy(&workers, WorkingFile(dir / "source.001"), 1, dir / "source.bin", 0, 300000);
  }
  EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"source.001", "source.bin"}));
  const std::string older = "the older fragment";
  EXPECT_EQ(ReadBytes(dir / "source.001"), std::vector<uint8_t>(older.begin(), older.end()));
}

TEST(WorkerThreads, RunEveryJobHandedOverAndPassOnWhatTheyRaise) {
  std::atomic<int> done = 0;
  std::future<void> failed;
  {
    WorkerThreads workers(2);
    for (int k = 0; k < 50; ++k)
      workers.Run([&] { ++done; });
    failed = workers.Run([] { Raise(err::kDiskFull); });
  }  // waits for the jobs handed over
  EXPECT_EQ(done, 50);
  EXPECT_EQ(ErrorOf([&] { failed.get(); }), err::kDiskFull);
}

}  // namespace
}  // namespace vtq::test
