// The split command driven through its request, as the window's controls
// and the console's arguments fill it.

#include "app/operations/split_operation.h"

#include <gtest/gtest.h>

#include "app/operations/assemble_operation.h"
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

class SplitOperationTest : public ::testing::Test {
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
};

TEST_F(SplitOperationTest, TheRequestShapesTheSeriesAndTheResultCountsIt) {
  request.format = aftRaw;
  const SplitResult result = Split();
  EXPECT_EQ(result.stop, SplitStop::kNone);
  EXPECT_TRUE(result.Complete());
  EXPECT_EQ(result.expected, 3);
  EXPECT_EQ(result.written, 3);
  EXPECT_EQ(result.bytesWritten, data.size());
  EXPECT_EQ(result.destination, WithTrailingSeparator(out));
  // The front end's own events still see every fragment.
  EXPECT_EQ(events.written,
            (std::vector<std::string>{Out("data.001"), Out("data.002"), Out("data.003")}));
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorSplitfile", "WexlorDonework"}));
  EXPECT_FALSE(result.batchFileWritten);
  EXPECT_FALSE(FileExists(result.batchFile));
}

TEST_F(SplitOperationTest, ANewSeriesTakesTheOldOnesRecoveryFilesAwayAFragmentAgainKeepsThem) {
  ASSERT_TRUE(Split().Complete());
  const auto writeRecovery = [&](std::vector<std::string> files) {
    recovery::RecoveryRequest recovery;
    recovery.files = std::move(files);
    recovery.prefix = Out("data.");
    recovery.sliceSize = 10240;
    recovery.recoverySlices = 1;
    recovery::WriteRecoveryFiles(recovery);
  };
  writeRecovery({Out("data.001"), Out("data.002"), Out("data.003")});
  request.regenerate = 2;
  ASSERT_EQ(Split().stop, SplitStop::kNone);
  EXPECT_TRUE(FileExists(Out("data.par2")));
  request.regenerate = 0;
  ASSERT_TRUE(Split().Complete());
  EXPECT_FALSE(FileExists(Out("data.par2")));
  EXPECT_FALSE(FileExists(Out("data.vol0+1.par2")));
  // Recovery files that cover more than the series are not the series' own.
  test::WriteBytes(Out("notes.txt"), test::PatternBytes(100, 1));
  writeRecovery({Out("data.001"), Out("notes.txt")});
  ASSERT_TRUE(Split().Complete());
  EXPECT_TRUE(FileExists(Out("data.par2")));
}

TEST_F(SplitOperationTest, RegeneratingBeyondTheSeriesStopsBeforeWriting) {
  request.regenerate = 4;
  const SplitResult result = Split();
  EXPECT_EQ(result.stop, SplitStop::kNoSuchFragment);
  EXPECT_EQ(result.fragmentsInSeries, 3);
  EXPECT_TRUE(test::NamesIn(out).empty());
  EXPECT_TRUE(prompts.sounds.empty());
  request.regenerate = 2;
  const SplitResult again = Split();
  EXPECT_EQ(again.expected, 1);
  EXPECT_EQ(test::NamesIn(out), (std::vector<std::string>{"data.002"}));
}

TEST_F(SplitOperationTest, TheAskedPassphraseIsTypedTwiceAndOpensTheSeries) {
  request.askPassphrase = true;
  prompts.canAsk = false;
  EXPECT_EQ(Split().stop, SplitStop::kPassphraseCannotBeAsked);
  EXPECT_TRUE(prompts.asked.empty());
  prompts.canAsk = true;
  EXPECT_EQ(Split().stop, SplitStop::kPassphraseNotTyped);
  prompts.passphrases = {"first", "second"};
  EXPECT_EQ(Split().stop, SplitStop::kPassphrasesDiffer);
  EXPECT_TRUE(test::NamesIn(out).empty());
  EXPECT_EQ(prompts.asked[1], "Security check|Please enter the passphrase to encrypt with.");
  EXPECT_EQ(prompts.asked[2], "Security check|Please enter the passphrase again.");

  prompts.passphrases = {"Kestrel", "Kestrel"};
  ASSERT_TRUE(Split().Complete());
  // The assemble command asks for what the split command was given.
  AssembleRequest assemble;
  assemble.firstFragment = Out("data.001");
  assemble.destination = dir / "joined";
  test::MakeFolder(assemble.destination);
  test::CountingWatcher watcher;
  prompts.passphrases = {"kestrel"};
  EXPECT_EQ(RunAssembleCommand(assemble, globals, watcher, prompts).stop,
            AssembleStop::kPassphraseIncorrect);
  ASSERT_FALSE(doubles.boxes.shown.empty());
  EXPECT_EQ(doubles.boxes.shown.back().text, "Password incorrect");
  EXPECT_EQ(doubles.boxes.shown.back().title, "Access denied");
  EXPECT_EQ(doubles.boxes.shown.back().Icon(), mb::kIconCritical);
  EXPECT_EQ(prompts.asked.back(),
            "Security check|This fragment series has been encrypted. Please enter the correct "
            "password. Passwords are case-sensitive.");
  prompts.passphrases = {"Kestrel"};
  const AssembleResult joined = RunAssembleCommand(assemble, globals, watcher, prompts);
  EXPECT_EQ(joined.stop, AssembleStop::kNone);
  EXPECT_EQ(test::ReadBytes(joined.outputPath), data);
}

TEST_F(SplitOperationTest, TheBatchFileIsWrittenOnlyWhereItIsSafe) {
  request.format = aftRaw;
  request.writeBatchFile = true;
  const SplitResult result = Split();
  ASSERT_TRUE(result.batchFileWritten);
  EXPECT_EQ(result.batchFile, Out("data.BAT"));
  const Bytes batch = test::ReadBytes(result.batchFile);
  ASSERT_GE(batch.size(), 2u);
  EXPECT_EQ(std::string(batch.end() - 2, batch.end()), "\r\n");

  // A batch file that would replace the source.
  request.source = Out("setup.BAT");
  test::WriteBytes(request.source, data);
  const SplitResult replacing = Split();
  EXPECT_EQ(replacing.stop, SplitStop::kBatchWouldReplaceSource);
  EXPECT_EQ(test::ReadBytes(request.source), data);

#ifndef _WIN32  // Windows names cannot hold a double quote at all
  // A name a batch line cannot carry.
  request.source = dir / "a\"b.bin";
  test::WriteBytes(request.source, data);
  const SplitResult unsafe = Split();
  EXPECT_EQ(unsafe.stop, SplitStop::kBatchNameUnsafe);
  EXPECT_EQ(unsafe.problem,
            "BAT Generation unavailable for a\"b.bin: its name holds the double quote \", which a "
            "batch file cannot carry safely. The BAT file will not be generated.");
  EXPECT_FALSE(FileExists(Out("a\"b.001")));
#endif
}

TEST_F(SplitOperationTest, TheConfirmationSeesTheSeriesBeforeAnythingIsWritten) {
  std::vector<int16_t> seen;
  request.confirm = [&](int16_t fragments) {
    seen.push_back(fragments);
    EXPECT_TRUE(test::NamesIn(out).empty());
    return false;
  };
  const SplitResult declined = Split();
  EXPECT_EQ(declined.stop, SplitStop::kDeclined);
  EXPECT_EQ(seen, (std::vector<int16_t>{3}));
  EXPECT_TRUE(test::NamesIn(out).empty());
  EXPECT_TRUE(prompts.sounds.empty());
  // A fragment beyond the series is refused before anyone is asked.
  request.regenerate = 5;
  EXPECT_EQ(Split().stop, SplitStop::kNoSuchFragment);
  EXPECT_EQ(seen.size(), 1u);
  request.regenerate = 0;
  request.confirm = [](int16_t) { return true; };
  EXPECT_TRUE(Split().Complete());
}

TEST_F(SplitOperationTest, OnlyTheFirstFragmentBringsItsBatchFileAlong) {
  request.format = aftRaw;
  request.writeBatchFile = true;
  request.regenerate = 2;
  const SplitResult second = Split();
  EXPECT_EQ(second.stop, SplitStop::kNone);
  EXPECT_FALSE(second.batchFileWritten);
  EXPECT_EQ(test::NamesIn(out), (std::vector<std::string>{"data.002"}));

  // The series' own batch file stays as it was.
  const Bytes kept = {'k', 'e', 'p', 't'};
  test::WriteBytes(Out("data.BAT"), kept);
  request.regenerate = 3;
  EXPECT_FALSE(Split().batchFileWritten);
  EXPECT_EQ(test::ReadBytes(Out("data.BAT")), kept);

  // A regenerated fragment other than the first is no reason to refuse a
  // batch file it does not write.
  const std::string setup = Out("setup.BAT");
  test::WriteBytes(setup, data);
  request.source = setup;
  EXPECT_EQ(Split().stop, SplitStop::kNone);
  EXPECT_EQ(test::ReadBytes(setup), data);

  request.source = dir / "data.bin";
  request.regenerate = 1;
  const SplitResult first = Split();
  EXPECT_TRUE(first.batchFileWritten);
  EXPECT_NE(test::ReadBytes(Out("data.BAT")), kept);
}

TEST_F(SplitOperationTest, AFirstFragmentFittedToTheDiskIsCountedByTheBatchFile) {
  request.format = aftRaw;
  request.writeBatchFile = true;
  request.fragmentSize = 15000;
  std::vector<bool> batchThere;
  // 30000 bytes in 15000s make 2; a first fragment of 10240 makes 3.
  request.freeSpaceAtStart = [&] {
    batchThere.push_back(FileExists(Out("data.BAT")));
    return int64_t{10240};
  };
  request.confirm = [](int16_t fragments) { return fragments == 2; };
  const SplitResult result = Split();
  EXPECT_EQ(result.stop, SplitStop::kNone);
  EXPECT_EQ(result.fragmentsInSeries, 3);
  EXPECT_TRUE(result.Complete());
  // Measured with the batch file on the disk, and again once it names one more.
  EXPECT_EQ(batchThere, (std::vector<bool>{true, true}));
  const Bytes batch = test::ReadBytes(Out("data.BAT"));
  const std::string text(batch.begin(), batch.end());
  EXPECT_NE(text.find("\"data.002\" + \"data.003\" \"data.bin\""), std::string::npos) << text;
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 10240u);

  // A fragment the first count did not have passes until the disk is measured.
  request.writeBatchFile = false;
  request.regenerate = 3;
  EXPECT_EQ(Split().stop, SplitStop::kNone);
  request.freeSpaceAtStart = [] { return int64_t{20480}; };
  const SplitResult beyond = Split();
  EXPECT_EQ(beyond.stop, SplitStop::kNoSuchFragment);
  EXPECT_EQ(beyond.fragmentsInSeries, 2);
}

TEST_F(SplitOperationTest, AnErrorKeepsWhatTheSplitterHeld) {
  platform.errorAdvisor = nullptr;  // the run's errors reach the command
  request.firstSize = 20480;
  events.onInterval = [](int32_t) { throw VbError(err::kInvalidArgument); };
  const SplitResult result = Split();
  EXPECT_EQ(result.stop, SplitStop::kEngineError);
  EXPECT_EQ(result.errorNumber, 5);
  EXPECT_EQ(result.splitterAtError.fragmentSize, 10240);
  EXPECT_EQ(result.splitterAtError.fragmentSizeAtStart, 20480);
  EXPECT_EQ(result.splitterAtError.firstFileLength, data.size());
}

TEST_F(SplitOperationTest, AMissingSourceIsRefusedByTheFileList) {
  request.source = dir / "absent.bin";
  EXPECT_EQ(Split().stop, SplitStop::kSourceRefused);
  EXPECT_FALSE(doubles.boxes.shown.empty());
}

// The window's one splitter: what a command left on it is where the next
// starts, unless the next says otherwise.
TEST_F(SplitOperationTest, ALastingSplitterKeepsItsSizeForACommandThatSetsNone) {
  LastingSplitter lasting(globals);
  request.fragmentSize = 16000;
  request.firstSize = 20000;
  ASSERT_TRUE(RunSplitCommand(request, lasting, events, prompts).Complete());
  request.fragmentSize = std::nullopt;  // Fill space
  request.firstSize.reset();
  const SplitResult again = RunSplitCommand(request, lasting, events, prompts);
  ASSERT_TRUE(again.Complete());
  EXPECT_EQ(again.written, 2);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), 16000u);  // no first size left over
  EXPECT_EQ(lasting.Splitter().FragmentSize(), 16000);
  // A splitter of its own starts from the floppy size.
  EXPECT_EQ(Split().written, 1);
}

TEST_F(SplitOperationTest, ErrorsOfTheCommandsStepsAreAnsweredStepByStep) {
  platform.errorAdvisor = nullptr;  // the run's errors reach the command
  test::ScriptedAdvisor dialog;
  request.commandErrors = &dialog;
  int failures = 1;
  events.onInterval = [&](int32_t) {
    if (failures-- > 0)
      throw VbError(err::kDiskNotReady);
  };
  // Retry runs the split again, which then goes through.
  dialog.Answer(TrapAction::kRetry);
  const SplitResult retried = Split();
  EXPECT_EQ(retried.stop, SplitStop::kNone);
  EXPECT_EQ(dialog.asked, std::vector<int32_t>{err::kDiskNotReady});
  EXPECT_TRUE(retried.Complete());

  // Skip goes on after it, to the done sound; the other two end.
  const std::pair<TrapAction, SplitStop> answers[] = {
      {TrapAction::kSkip, SplitStop::kNone},
      {TrapAction::kEndProgram, SplitStop::kEndedAfterError},
      {TrapAction::kEndRoutine, SplitStop::kEndedByErrorDialog},
  };
  for (const auto& [answer, stop] : answers) {
    failures = 1;
    prompts.sounds.clear();
    dialog.Answer(answer);
    const SplitResult result = Split();
    EXPECT_EQ(result.stop, stop);
    EXPECT_EQ(prompts.sounds.size(), stop == SplitStop::kNone ? 2u : 1u);
  }
  // Error 5 is the split's own report's, whatever the dialog would say.
  events.onInterval = [](int32_t) { throw VbError(err::kInvalidArgument); };
  EXPECT_EQ(Split().stop, SplitStop::kEngineError);
  EXPECT_EQ(dialog.asked.size(), 4u);
}

TEST_F(SplitOperationTest, FragmentsOfAnotherSeriesAreWrittenOverOnlyAfterAYes) {
  ASSERT_TRUE(Split().Complete());
  const Bytes theirs = test::ReadBytes(Out("data.001"));
  // The same file split again replaces its series without a word.
  EXPECT_TRUE(Split().Complete());
  EXPECT_TRUE(doubles.boxes.shown.empty());

  const std::string other = WithTrailingSeparator(dir / "in") + "data.bin";
  test::MakeFolder(dir / "in");
  test::WriteBytes(other, test::PatternBytes(30000, 8));
  request.source = other;
  EXPECT_TRUE(Split().Complete());  // the same name is the same series to the header
  request.source = dir / "data.txt";
  test::WriteBytes(request.source, test::PatternBytes(30000, 9));
  doubles.boxes.Answer(mb::kIdNo);
  const SplitResult declined = Split();
  EXPECT_EQ(declined.stop, SplitStop::kReplaceDeclined);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            Out("data.001") +
                " is a fragment of another series (of data.bin). Splitting now writes over its "
                "fragments and leaves the rest of that series mixed with this one. Write over "
                "them?");
  EXPECT_EQ(doubles.boxes.shown[0].title, "Replace fragments?");
  EXPECT_EQ(doubles.boxes.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_EQ(test::ReadBytes(Out("data.001")).size(), theirs.size());
  doubles.boxes.Answer(mb::kIdYes);
  EXPECT_TRUE(Split().Complete());
}

TEST_F(SplitOperationTest, ANewSeriesRemovesOnlyAChecksumFileThatListsItsFragments) {
  request.writeChecksums = true;
  ASSERT_TRUE(Split().Complete());
  request.writeChecksums = false;
  ASSERT_TRUE(Split().Complete());
  EXPECT_FALSE(FileExists(Out("data.sha256")));
  // A file of the same name that lists other files is someone else's.
  const std::string digest(64, 'a');
  const std::string theirs = digest + "  data.bin\n" + digest + "  holiday.jpg\n";
  test::WriteBytes(Out("data.sha256"), Bytes(theirs.begin(), theirs.end()));
  ASSERT_TRUE(Split().Complete());
  EXPECT_EQ(test::ReadBytes(Out("data.sha256")), Bytes(theirs.begin(), theirs.end()));
}

}  // namespace
}  // namespace vtq
