// The recovery commands through their requests: recovery files written for
// a series the split command made, the series then taken apart, verified,
// repaired and looked at before an assembly.

#include "app/operations/series_recovery.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/operations/series_side_files.h"
#include "app/operations/split_operation.h"
#include "app/operations/tests/recording_prompts.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"
#include "recovery/tests/packet_writer.h"

namespace vtq {
namespace {

using test::Bytes;

// Every step's progress, and whether each step ended before the next began.
struct RecordingRecoveryEvents : RecoveryEvents {
  struct Step {
    std::vector<std::pair<uint64_t, uint64_t>> progress;
    bool ended = false;
  };
  std::vector<Step> steps;
  void Progress(uint64_t done, uint64_t total) override {
    if (steps.empty() || steps.back().ended)
      steps.emplace_back();
    steps.back().progress.emplace_back(done, total);
  }
  void StepEnded() override {
    if (!steps.empty())
      steps.back().ended = true;
  }
  // Each step rose to its total and ended.
  void ExpectStepsComplete(size_t count) const {
    ASSERT_EQ(steps.size(), count);
    for (const Step& step : steps) {
      EXPECT_TRUE(step.ended);
      ASSERT_FALSE(step.progress.empty());
      for (size_t i = 1; i < step.progress.size(); ++i)
        EXPECT_GE(step.progress[i].first, step.progress[i - 1].first);
      EXPECT_EQ(step.progress.back().first, step.progress.back().second);
    }
  }
};

class SeriesRecoveryTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  // Eight fragments of 10,240 bytes, the last one shorter.
  Bytes data = test::PatternBytes(7 * 10240 + 3000, 4);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  test::RecordingPrompts prompts;
  std::string source = dir / "data.bin";
  std::string folder = dir / "series";
  std::vector<Bytes> asSplit;
  RecordingRecoveryEvents events;

  void SetUp() override {
    test::WriteBytes(source, data);
    test::MakeFolder(folder);
    SplitRequest request;
    request.source = source;
    request.destination = folder;
    request.fragmentSize = 10240;
    request.format = aftRaw;
    request.writeRecovery = true;
    test::RecordingSplitterEvents splitEvents;
    const SplitResult result = RunSplitCommand(request, globals, splitEvents, prompts);
    ASSERT_TRUE(result.Complete());
    ASSERT_EQ(result.firstFragment, Fragment(1));
    for (int i = 1; i <= 8; ++i)
      asSplit.push_back(test::ReadBytes(Fragment(i)));
  }
  std::string Fragment(int i) {
    return WithTrailingSeparator(folder) + "data." + FragmentNumber(i);
  }
  WriteRecoveryResult Write(RecoveryAmount amount) {
    WriteRecoveryRequest request;
    request.fragments = SeriesFragmentNames(Fragment(1), 8);
    request.amount = amount;
    return WriteSeriesRecovery(request, events);
  }
  void Damage(int i) {
    Bytes bytes = test::ReadBytes(Fragment(i));
    bytes.at(500) ^= 0x40;
    test::WriteBytes(Fragment(i), bytes);
  }
  SeriesVerification Verify() {
    VerifyRequest request;
    request.firstFragment = Fragment(1);
    return VerifySeriesAndRecovery(request, globals);
  }
  SeriesRepair Repair() {
    RepairRequest request;
    request.series.firstFragment = Fragment(1);
    return RepairSeries(request, globals, events);
  }
};

TEST_F(SeriesRecoveryTest, WrittenVerifiedRepairedAndWholeAgain) {
  // 25% of 8 slices of 10,240 bytes: two recovery slices, two lost fragments.
  const WriteRecoveryResult written = Write({25.0, 0});
  ASSERT_EQ(written.stop, WriteRecoveryStop::kNone);
  EXPECT_EQ(written.files.front(), RecoveryIndexName(Fragment(1)));
  EXPECT_EQ(written.sliceSize, 10240u);
  EXPECT_EQ(written.recoverySlices, 2u);
  EXPECT_EQ(written.fragmentsRebuildable, 2u);
  events.ExpectStepsComplete(1);
  EXPECT_TRUE(HasRecoveryFiles(Fragment(1)));

  const SeriesVerification sound = Verify();
  EXPECT_TRUE(sound.report.Sound());
  ASSERT_TRUE(sound.recovery.Found());
  EXPECT_TRUE(sound.recovery.checked);
  EXPECT_EQ(sound.recovery.moreFragments, 2u);
  EXPECT_TRUE(sound.recovery.faults.fragments.empty());

  std::remove(Fragment(3).c_str());
  Damage(6);
  const SeriesVerification broken = Verify();
  EXPECT_FALSE(broken.report.Sound());
  EXPECT_EQ(broken.report.FaultyFragments(), (std::vector<int>{3, 6}));
  ASSERT_EQ(broken.recovery.faults.fragments.size(), 2u);
  EXPECT_EQ(broken.recovery.lostSlices, 2u);
  EXPECT_FALSE(broken.recovery.TooFew());
  EXPECT_EQ(broken.recovery.moreFragments, 0u);

  events.steps.clear();
  const SeriesRepair repaired = Repair();
  ASSERT_TRUE(repaired.before.has_value());
  ASSERT_EQ(repaired.repair.atFault.size(), 2u);
  EXPECT_EQ(repaired.repair.atFault[0].name, Fragment(3));
  EXPECT_TRUE(repaired.repair.atFault[0].missing);
  EXPECT_EQ(repaired.repair.atFault[1].name, Fragment(6));
  EXPECT_FALSE(repaired.repair.atFault[1].missing);
  EXPECT_EQ(repaired.repair.atFault[1].lostSlices, 1u);
  EXPECT_EQ(repaired.repair.rebuilt, (std::vector<std::string>{Fragment(3), Fragment(6)}));
  EXPECT_TRUE(repaired.Sound());
  ASSERT_TRUE(repaired.after.has_value());
  EXPECT_TRUE(repaired.after->Sound());
  events.ExpectStepsComplete(2);  // the check, then the rebuilding
  for (int i = 1; i <= 8; ++i)
    EXPECT_EQ(test::ReadBytes(Fragment(i)), asSplit[i - 1]) << i;

  // A second repair finds nothing to do.
  const SeriesRepair again = Repair();
  EXPECT_TRUE(again.repair.setIntact);
  EXPECT_TRUE(again.repair.wasWhole);
  EXPECT_TRUE(again.Sound());
}

TEST_F(SeriesRecoveryTest, TooFewRecoverySlicesRebuildNothing) {
  ASSERT_EQ(Write({std::nullopt, 1}).stop, WriteRecoveryStop::kNone);
  Damage(2);
  Damage(5);
  const SeriesVerification look = Verify();
  EXPECT_TRUE(look.recovery.TooFew());
  EXPECT_EQ(look.recovery.recoverySlices, 1u);
  EXPECT_EQ(look.recovery.filesAtFault, 2u);
  const SeriesRepair repaired = Repair();
  EXPECT_FALSE(repaired.Sound());
  EXPECT_TRUE(repaired.repair.rebuilt.empty());
  EXPECT_FALSE(repaired.repair.notRebuilt.empty());
  EXPECT_FALSE(repaired.after.has_value());
}

TEST_F(SeriesRecoveryTest, ASeriesNotAllInTheFolderGetsNone) {
  std::remove(Fragment(8).c_str());
  const WriteRecoveryResult written = Write({});
  EXPECT_EQ(written.stop, WriteRecoveryStop::kFragmentNotThere);
  EXPECT_EQ(written.absentFragment, Fragment(8));
  EXPECT_FALSE(HasRecoveryFiles(Fragment(1)));
  EXPECT_TRUE(events.steps.empty());
}

TEST_F(SeriesRecoveryTest, RepairStopsWithoutAUsableSet) {
  EXPECT_EQ(Repair().repair.stop, RepairStop::kNoRecoveryFiles);
  // A set naming a file outside the series' folder is refused whole.
  recovery::test::SetWriter set(16);
  set.Describe("../victim", Bytes(16, 'X'));
  test::WriteBytes(RecoveryIndexName(Fragment(1)), set.Critical());
  const SeriesRepair refused = Repair();
  EXPECT_EQ(refused.repair.stop, RepairStop::kSetRefused);
  EXPECT_NE(refused.repair.refusal.find("outside its folder"), std::string::npos);
  EXPECT_FALSE(refused.Sound());
  EXPECT_FALSE(Verify().recovery.refusal.empty());
  // Bytes that hold no set at all.
  test::WriteText(RecoveryIndexName(Fragment(1)), "not a recovery file");
  EXPECT_EQ(Repair().repair.stop, RepairStop::kNoCompleteSet);
}

TEST_F(SeriesRecoveryTest, TheRepairIsOfferedBeforeAnAssemblyOnlyWhenSomethingIsLacking) {
  EXPECT_FALSE(LookBeforeAssembling(Fragment(1)).Offer());  // no recovery files
  ASSERT_EQ(Write({}).stop, WriteRecoveryStop::kNone);
  EXPECT_FALSE(LookBeforeAssembling(Fragment(1)).Offer());
  // A damaged byte is not seen without reading; a lost or cut one is.
  Damage(4);
  EXPECT_FALSE(LookBeforeAssembling(Fragment(1)).Offer());
  std::remove(Fragment(2).c_str());
  Bytes cut = asSplit[6];
  cut.resize(100);
  test::WriteBytes(Fragment(7), cut);
  const RepairBeforeAssembling look = LookBeforeAssembling(Fragment(1));
  EXPECT_TRUE(look.Offer());
  EXPECT_EQ(look.indexFile, RecoveryIndexName(Fragment(1)));
  EXPECT_EQ(look.lacking, (std::vector<std::string>{Fragment(2), Fragment(7)}));
  EXPECT_EQ(RepairOfferText(look.indexFile),
            "Fragments of the series are missing or damaged. Rebuild them from its recovery "
            "files (" +
                look.indexFile + ") first?");
  // Declined, only the checksum file can vouch for what was assembled.
  EXPECT_TRUE(AssemblyInDoubt(look, false, false));
  EXPECT_FALSE(AssemblyInDoubt(look, false, true));
  EXPECT_FALSE(AssemblyInDoubt(look, true, false));
  EXPECT_FALSE(AssemblyInDoubt(RepairBeforeAssembling{}, false, false));
}

}  // namespace
}  // namespace vtq
