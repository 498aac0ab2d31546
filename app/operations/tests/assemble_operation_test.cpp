// The assemble and info commands driven through their requests.

#include "app/operations/assemble_operation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/operations/info_operation.h"
#include "app/operations/split_operation.h"
#include "app/operations/tests/recording_prompts.h"
#include "app/operations/raw_series_name.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"

namespace vtq {
namespace {

class AssembleOperationTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  test::Bytes data = test::PatternBytes(5000, 3);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  test::CountingWatcher watcher;
  test::RecordingPrompts prompts;
  AssembleRequest request;

  void SetUp() override {
    request.destination = dir / "joined";
    test::MakeFolder(request.destination);
  }
  std::string Joined(const std::string& name) {
    return WithTrailingSeparator(request.destination) + name;
  }
  AssembleResult Assemble() { return RunAssembleCommand(request, globals, watcher, prompts); }
  // An older-format series: a name, an escape, then the data.
  void OldSeries() {
    test::Bytes first{'d', 'a', 't', 'a', '.', 'b', 'i', 'n', 0x1B};
    first.insert(first.end(), data.begin(), data.end());
    request.firstFragment = test::WriteFragments(dir / "old.", {first});
  }
};

TEST_F(AssembleOperationTest, AnOwnSeriesComesBackWithItsSounds) {
  request.firstFragment = test::WriteFragments(dir / "notes.", test::OwnSeries(data, 2000));
  const AssembleResult result = Assemble();
  EXPECT_EQ(result.stop, AssembleStop::kNone);
  EXPECT_EQ(result.outputPath, Joined("notes.txt"));
  EXPECT_EQ(test::ReadBytes(result.outputPath), data);
  EXPECT_TRUE(result.keptPartials.empty());
  EXPECT_EQ(watcher.ended, 1);
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorAssfile", "WexlorDonework"}));
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(AssembleOperationTest, ACallerWithStepsOfItsOwnPlaysTheDoneSoundItself) {
  request.firstFragment = test::WriteFragments(dir / "notes.", test::OwnSeries(data, 2000));
  request.doneSoundByCaller = true;
  EXPECT_EQ(Assemble().stop, AssembleStop::kNone);
  EXPECT_EQ(test::ReadBytes(Joined("notes.txt")), data);
  EXPECT_EQ(prompts.sounds, std::vector<std::string>{"WexlorAssfile"});
}

TEST_F(AssembleOperationTest, TheUnknownFormatQuestionIsAskedUnlessTheRequestAnswersIt) {
  OldSeries();
  EXPECT_EQ(Assemble().stop, AssembleStop::kQuestionCancelled);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0], std::string(kUnknownFormatTitle) + "|" + kUnknownFormatQuestion);
  EXPECT_TRUE(test::NamesIn(request.destination).empty());

  prompts.answers = {Answer::kNo};
  const AssembleResult old = Assemble();
  EXPECT_EQ(old.stop, AssembleStop::kNone);
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);

  prompts.asked.clear();
  request.unknownAs = aftRaw;
  const AssembleResult raw = Assemble();
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(test::ReadBytes(raw.outputPath).size(), data.size() + 9);
}

TEST_F(AssembleOperationTest, AMissingFragmentIsRefusedAndTheRunNeverStarts) {
  request.firstFragment = dir / "absent.001";
  EXPECT_EQ(Assemble().stop, AssembleStop::kFragmentRefused);
  EXPECT_FALSE(doubles.boxes.shown.empty());
  EXPECT_TRUE(prompts.sounds.empty());
}

TEST_F(AssembleOperationTest, AFailureNamesItsFileAndIsShownUnlessTheCallerTellsIt) {
  request.firstFragment = test::WriteFragments(dir / "notes.", test::OwnSeries(data, 2000));
  const std::string second = dir / "notes.002";
  // Gone once the run has started: a fragment missing beforehand is named
  // before anything is written.
  const test::Bytes kept = test::ReadBytes(second);
  watcher.onStart = [&] { std::filesystem::remove(second); };
  const AssembleResult shown = Assemble();
  EXPECT_EQ(shown.stop, AssembleStop::kEngineError);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text, "Runtime error 53: File not found");
  EXPECT_EQ(shown.errorFile, second);

  request.errorToldByCaller = true;
  test::WriteBytes(second, kept);
  const AssembleResult told = Assemble();
  EXPECT_EQ(told.stop, AssembleStop::kEngineError);
  EXPECT_EQ(doubles.boxes.shown.size(), 1u);  // no second box
  EXPECT_EQ(told.errorNumber, err::kFileNotFound);
  EXPECT_EQ(told.errorDescription, "File not found");
  EXPECT_EQ(told.errorFile, second);
}

TEST_F(AssembleOperationTest, AnEncryptedSeriesWithNobodyToAskStopsBeforeAsking) {
  test::HandHeader header;
  header.encrypted = true;
  header.keyCheck = 1;
  test::Bytes first = test::HandHeaderBytes(header);
  first.insert(first.end(), data.begin(), data.end());
  request.firstFragment = test::WriteFragments(dir / "locked.", {first});
  prompts.canAsk = false;
  EXPECT_EQ(Assemble().stop, AssembleStop::kPassphraseCannotBeAsked);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(doubles.boxes.shown.empty());  // no "Password incorrect" for a question never asked
  EXPECT_TRUE(test::NamesIn(request.destination).empty());
}

TEST_F(AssembleOperationTest, InfoReadsTheHeaderWithoutAssembling) {
  const auto pieces = test::OwnSeries(data, 2000, "report.doc");
  InfoRequest info;
  info.fragment = test::WriteFragments(dir / "notes.", pieces);
  const std::optional<SeriesInfo> read = RunInfoCommand(info, globals);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->format, aftQuorvelle);
  EXPECT_EQ(read->fragments, static_cast<int>(pieces.size()));
  EXPECT_EQ(read->assembledName, "report.doc");
  EXPECT_EQ(read->storedName, "report.doc");
  EXPECT_FALSE(read->file.encrypted);
  EXPECT_EQ(read->headerLength, test::HandHeaderBytes({.name = "report.doc"}).size());

  info.fragment = dir / "absent.001";
  EXPECT_FALSE(RunInfoCommand(info, globals));
}

// The window's one assembler: the passphrase that opened a series opens it
// again without a question.
TEST_F(AssembleOperationTest, ALastingAssemblerKeepsThePassphraseThatOpenedTheSeries) {
  SplitRequest split;
  split.source = dir / "data.bin";
  test::WriteBytes(split.source, data);
  split.destination = dir.Path();
  split.fragmentSize = 10240;
  split.passphrase = "Kestrel";
  test::RecordingSplitterEvents splitEvents;
  ASSERT_TRUE(RunSplitCommand(split, globals, splitEvents, prompts).Complete());
  request.firstFragment = dir / "data.001";

  LastingAssembler lasting(globals);
  prompts.passphrases = {"Kestrel"};
  const int yieldsOfTheSplit = doubles.loop.yields;
  EXPECT_EQ(RunAssembleCommand(request, lasting, watcher, prompts).stop, AssembleStop::kNone);
  EXPECT_EQ(prompts.asked.size(), 1u);
  // Where the dialog was is drawn once more before the run holds the thread.
  EXPECT_EQ(doubles.loop.yields, yieldsOfTheSplit + 1);
  std::filesystem::remove(Joined("data.bin"));
  EXPECT_EQ(RunAssembleCommand(request, lasting, watcher, prompts).stop, AssembleStop::kNone);
  EXPECT_EQ(test::ReadBytes(Joined("data.bin")), data);
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(doubles.loop.yields, yieldsOfTheSplit + 1);
  // An assembler of its own asks again.
  std::filesystem::remove(Joined("data.bin"));
  EXPECT_EQ(Assemble().stop, AssembleStop::kPassphraseIncorrect);
  EXPECT_EQ(prompts.asked.size(), 2u);
}

TEST_F(AssembleOperationTest, ErrorsOfTheAssemblyAreAnsweredByTheErrorDialog) {
  request.firstFragment = test::WriteFragments(dir / "notes.", test::OwnSeries(data, 2000));
  test::ScriptedAdvisor dialog;
  request.commandErrors = &dialog;
  int failures = 0;
  watcher.onStart = [&] {
    if (failures-- > 0)
      throw VbError(err::kDiskNotReady);
  };
  const std::pair<TrapAction, AssembleStop> answers[] = {
      {TrapAction::kRetry, AssembleStop::kNone},
      // Going on after the assembly finds nothing assembled.
      {TrapAction::kSkip, AssembleStop::kIncomplete},
      {TrapAction::kEndProgram, AssembleStop::kEndedAfterError},
      {TrapAction::kEndRoutine, AssembleStop::kEndedByErrorDialog},
  };
  for (const auto& [answer, stop] : answers) {
    SCOPED_TRACE(static_cast<int>(answer));
    std::filesystem::remove(Joined("notes.txt"));
    failures = 1;
    dialog.Answer(answer);
    EXPECT_EQ(Assemble().stop, stop);
    EXPECT_EQ(FileExists(Joined("notes.txt")), stop == AssembleStop::kNone);
  }
  EXPECT_EQ(dialog.asked, std::vector<int32_t>(4, err::kDiskNotReady));
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST_F(AssembleOperationTest, ADifferentFileOfTheOutputsNameIsReplacedOnlyAfterAYes) {
  request.firstFragment = test::WriteFragments(dir / "notes.", test::OwnSeries(data, 2000));
  const test::Bytes theirs = test::PatternBytes(5000, 4);
  test::WriteBytes(Joined("notes.txt"), theirs);
  doubles.boxes.Answer(mb::kIdNo);
  EXPECT_EQ(Assemble().stop, AssembleStop::kReplaceDeclined);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            Joined("notes.txt") +
                " already exists and is not the same as the file just assembled. Replace it? No "
                "keeps it and discards what was assembled.");
  EXPECT_EQ(doubles.boxes.shown[0].title, "Replace file?");
  EXPECT_EQ(doubles.boxes.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_EQ(test::ReadBytes(Joined("notes.txt")), theirs);
  EXPECT_EQ(test::NamesIn(request.destination), std::vector<std::string>{"notes.txt"});

  doubles.boxes.Answer(mb::kIdYes);
  EXPECT_EQ(Assemble().stop, AssembleStop::kNone);
  EXPECT_EQ(test::ReadBytes(Joined("notes.txt")), data);
  // The same bytes again: nothing to ask.
  EXPECT_EQ(Assemble().stop, AssembleStop::kNone);
  EXPECT_EQ(doubles.boxes.shown.size(), 2u);
}

TEST_F(AssembleOperationTest, ARawSeriesTakesTheNameItsBatchFileWrites) {
  SplitRequest split;
  split.source = dir / "report.doc";
  test::WriteBytes(split.source, data);
  split.destination = dir.Path();
  split.fragmentSize = 10240;
  split.format = aftRaw;
  split.writeBatchFile = true;
  test::RecordingSplitterEvents splitEvents;
  ASSERT_TRUE(RunSplitCommand(split, globals, splitEvents, prompts).Complete());
  request.firstFragment = dir / "report.001";
  request.unknownAs = aftRaw;
  const AssembleResult named = Assemble();
  EXPECT_EQ(named.outputPath, Joined("report.doc"));
  EXPECT_EQ(test::ReadBytes(Joined("report.doc")), data);
  // Without it, the stem and "Unk" as ever.
  RemoveFile(dir / "report.BAT");
  EXPECT_EQ(Assemble().outputPath, Joined("report.Unk"));
}

TEST(JoinedNameInBatchText, TheJoinLineOfTheSeriesOnly) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"@ECHO OFF\r\n:1\r\ncopy /b \"a.001\" + \"a.002\" \"a.txt\"\r\nECHO Done!\r\n", "a.txt"},
      {"COPY /B \"a.001\" \"100%% a.txt\"\n", "100% a.txt"},
      // Another series' line, a path, a fragment name, an open quote: no name.
      {"copy /b \"b.001\" + \"b.002\" \"b.txt\"\r\n", std::nullopt},
      {"copy /b \"a.001\" \"..\\a.txt\"\r\n", std::nullopt},
      {"copy /b \"a.001\" \"C:a.txt\"\r\n", std::nullopt},
      {"copy /b \"a.001\" \"a.002\"\r\n", std::nullopt},
      {"copy /b \"a.001\" \"a.txt\r\n", std::nullopt},
      {"echo copy /b \"a.001\" \"a.txt\"\r\n", std::nullopt},
  };
  for (const auto& [text, name] : cases)
    EXPECT_EQ(JoinedNameInBatchText(text, "a."), name) << text;
}

}  // namespace
}  // namespace vtq
