// The main window's commands driven from a state as the window holds it:
// the requests they build, their checks and messages in order, and whole
// runs through the engine.
#include "app/window_commands/window_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/operations/fragment_sizes.h"
#include "app/operations/tests/recording_prompts.h"
#include "app/window_commands/window_recovery.h"
#include "base/utf8_path.h"
#include "base/utf8_text.h"
#include "cabinet/cabinet_error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"

namespace vtq {
namespace {

using model::kLampDarkRed;
using model::kLampGreen;
using Bytes = std::vector<uint8_t>;

class RealPaths final : public model::PathQueries {
 public:
  bool Exists(std::wstring_view path) override {
    std::error_code ignored;
    return std::filesystem::exists(base::PathFromUtf8(base::ToUtf8(path)), ignored);
  }
  bool IsFolder(std::wstring_view path) override {
    std::error_code ignored;
    return !path.empty() &&
           std::filesystem::is_directory(base::PathFromUtf8(base::ToUtf8(path)), ignored);
  }
  bool DiskRemovable(std::wstring_view) override { return false; }
};

class RecordingWindow final : public CommandWindow {
 public:
  std::vector<std::string> log;
  void EnableInput(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
  void ResetProgress(model::Control bar) override {
    log.push_back(bar == model::Control::kProgressBar1 ? "reset1" : "reset2");
  }
  void EndProgram() override { log.push_back("end"); }
  void ShowOutcome(model::Control bar, std::wstring text) override {
    outcomes.push_back((bar == model::Control::kProgressBar1 ? "1 " : "2 ") + base::ToUtf8(text));
  }
  void ShowProgress(model::Control bar, int32_t value, int32_t max) override {
    progress.push_back({bar, value, max});
  }
  std::vector<std::string> outcomes;
  struct Shown {
    model::Control bar;
    int32_t value;
    int32_t max;
  };
  std::vector<Shown> progress;
};

// A cabinet step as a test scripts it: the progress it reports, then what it
// raises, once per entry of `failures` (an empty entry succeeds).
struct ScriptedStep {
  std::vector<int16_t> steps;
  std::deque<std::optional<VbError>> failures;

  void Run(const PackProgress& progress) {
    for (int16_t step : steps)
      progress(step);
    if (failures.empty())
      return;
    std::optional<VbError> failure = failures.front();
    failures.pop_front();
    if (failure)
      throw *failure;
  }
};

// Packs nothing: records each request with the sounds played before it and
// runs its script.
class RecordingPacker final : public CabinetPacker {
 public:
  explicit RecordingPacker(const std::vector<std::string>& sounds) : sounds_(sounds) {}
  std::vector<PackRequest> requests;
  std::vector<std::vector<std::string>> soundsBefore;
  std::vector<std::vector<std::string>> namesThere;  // the cabinet's folder as packing starts
  ScriptedStep script{{40, 100}, {}};
  PackedEntry first{L"C:\\in\\PROJECTS\\a.txt", L"PROJECTS"};
  Bytes packed;  // what the cabinet holds once packed; nothing is written when empty

  void Pack(const PackRequest& request, const PackProgress& progress) override {
    requests.push_back(request);
    soundsBefore.push_back(sounds_);
    const std::string cabinet = base::ToUtf8(request.cabinet);
    const std::string folder = cabinet.substr(0, cabinet.size() - BaseName(cabinet).size());
    std::error_code ignored;
    namesThere.push_back(std::filesystem::is_directory(base::PathFromUtf8(folder), ignored)
                             ? test::NamesIn(folder)
                             : std::vector<std::string>{});
    if (!packed.empty())
      test::WriteBytes(base::ToUtf8(request.cabinet), packed);
    script.Run(progress);
  }
  PackedEntry FirstEntry() const override { return first; }

 private:
  const std::vector<std::string>& sounds_;
};

// The packing window's life in the window's log.
class RecordingPackingView final : public PackingView {
 public:
  explicit RecordingPackingView(std::vector<std::string>& log) : log_(log) {}
  void Show(std::string_view caption) override { log_.push_back("show " + std::string(caption)); }
  void SetProgress(int16_t percent) override { log_.push_back(std::to_string(percent)); }
  void Close() override { log_.push_back("close"); }
  void OfferCancel() override { cancelOffered = true; }
  bool CancelRequested() override { return cancelAt >= 0 && cancelAt-- == 0; }
  int cancelAt = -1;  // the progress step after which Cancel is chosen
  bool cancelOffered = false;

 private:
  std::vector<std::string>& log_;
};

// Unpacks nothing: records the cabinets opened, each extraction with the
// sounds played before it and whether its folder was there, and runs its
// script.
class RecordingUnpacker final : public CabinetUnpacker {
 public:
  explicit RecordingUnpacker(const std::vector<std::string>& sounds) : sounds_(sounds) {}
  std::vector<std::wstring> opened;
  std::vector<std::wstring> folders;
  std::vector<std::vector<std::string>> soundsBefore;
  std::vector<bool> folderThere;
  ScriptedStep script{{30, 100}, {}};
  int32_t entries = 1;
  std::optional<VbError> countFailure;
  std::wstring firstEntry = L"docs\\readme.txt";

  void Open(const std::wstring& cabinet) override {
    opened.push_back(cabinet);
    cabinet_ = cabinet;
  }
  std::wstring Cabinet() const override { return cabinet_; }
  int32_t EntryCount() override {
    if (countFailure)
      throw *countFailure;
    return entries;
  }
  std::wstring FirstEntryName() override { return firstEntry; }
  void Extract(const std::wstring& folder, const PackProgress& progress) override {
    folders.push_back(folder);
    soundsBefore.push_back(sounds_);
    std::error_code ignored;
    folderThere.push_back(
        std::filesystem::is_directory(base::PathFromUtf8(base::ToUtf8(folder)), ignored));
    script.Run(progress);
  }

 private:
  const std::vector<std::string>& sounds_;
  std::wstring cabinet_;
};

std::wstring Wide(const std::string& text) {
  return base::FromUtf8(text);
}

const std::vector<std::string> kLockedAndFreed = {"disable", "enable"};

class WindowCommandsTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::string out = dir / "out";
  Bytes data = test::PatternBytes(30000, 11);
  test::TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  LastingSplitter splitter{globals};
  LastingAssembler assembler{globals};
  RealPaths paths;
  test::RecordingPrompts prompts;
  RecordingWindow window;
  test::RecordingSplitterEvents splitterEvents;
  test::CountingWatcher watcher;
  RecordingPacker packer{prompts.sounds};
  RecordingPackingView packingView{window.log};
  RecordingUnpacker unpacker{prompts.sounds};
  WindowCommandContext context{
      globals, splitter,    assembler,      paths,
      prompts, window,      splitterEvents, watcher,
      packer,  packingView, unpacker,       [this] { return WithTrailingSeparator(dir / "temp"); }};
  model::MainWindowState state;

  void SetUp() override {
    test::MakeFolder(out);
    test::WriteBytes(dir / "data.bin", data);
    // A file chosen, a destination chosen, a custom size of 10 kb.
    state.fileToSplit = Wide(dir / "data.bin");
    state.light1 = state.fileIndicator = kLampGreen;
    state.splitDestination = Wide(WithTrailingSeparator(out));
    state.light2 = kLampGreen;
    state.sizeMode = model::SizeMode::kCustom;
    state.customSize.text = L"10";
    state.custSizeUnits.position = kUnitKb;
  }
  std::vector<std::string> Written() { return test::NamesIn(out); }
  const test::ShownBox& LastBox() {
    EXPECT_FALSE(doubles.boxes.shown.empty());
    return doubles.boxes.shown.back();
  }
  void ExpectOnlyBox(const std::string& text, const std::string& title, unsigned style) {
    ASSERT_EQ(doubles.boxes.shown.size(), 1u);
    EXPECT_EQ(LastBox().text, text);
    EXPECT_EQ(LastBox().title, title);
    EXPECT_EQ(LastBox().style, style);
  }
};

TEST(FillSplitRequest, SizeOfEachModeAndTheFormatOfTheBatchBox) {
  model::MainWindowState s;
  s.fileToSplit = L"C:\\in\\report.doc";
  s.splitDestination = L"A:\\";
  s.sizeMode = model::SizeMode::kPreset;
  const int64_t presets[] = {730112, 1457664, 1745408, 3019899};
  for (int position = 0; position < 4; ++position) {
    s.cmbPreset.position = position;
    SplitRequest request;
    FillSplitRequest(s, 0, request);
    EXPECT_EQ(request.fragmentSize, presets[position]) << position;
    EXPECT_EQ(request.source, "C:\\in\\report.doc");
    EXPECT_EQ(request.destination, "A:\\");
  }
  // "kb smaller" counts down from the preset in force, not from the custom
  // field of another mode.
  s.cmbPreset.position = 0;
  s.customSize.text = L"1423";
  s.custSizeUnits.position = kUnitKb;
  s.firstOverride.checked = true;
  s.firstOverrideValue.text = L"5";
  s.fOverrideUnits.position = kUnitKbSmaller;
  SplitRequest smaller;
  FillSplitRequest(s, 0, smaller);
  EXPECT_EQ(smaller.firstSize, 730112 - 5120);
  s.firstOverride.checked = false;

  // A position outside the list, and fill space, leave the splitter's own
  // size; in fill space the count-down waits for the free space.
  s.cmbPreset.position = 7;
  SplitRequest outside;
  FillSplitRequest(s, 0, outside);
  EXPECT_EQ(outside.fragmentSize, std::nullopt);
  s.sizeMode = model::SizeMode::kAutofill;
  s.customSize.text = L"20";
  s.custSizeUnits.position = kUnitKb;
  s.firstOverride.checked = true;
  SplitRequest fill;
  FillSplitRequest(s, 0, fill);
  EXPECT_EQ(fill.fragmentSize, std::nullopt);
  EXPECT_EQ(fill.firstSize, std::nullopt);
  s.firstOverride.checked = false;

  s.sizeMode = model::SizeMode::kCustom;
  s.customSize.text = L"100";
  s.custSizeUnits.position = kUnitMb;
  SplitRequest custom;
  FillSplitRequest(s, 0, custom);
  EXPECT_EQ(custom.fragmentSize, 104857600);
  EXPECT_FALSE(custom.firstSize);

  // "kb smaller" counts down from the custom size.
  s.customSize.text = L"1423";
  s.custSizeUnits.position = kUnitKb;
  s.firstOverride.checked = true;
  s.firstOverrideValue.text = L"5";
  s.fOverrideUnits.position = kUnitKbSmaller;
  SplitRequest first;
  FillSplitRequest(s, 3, first);
  EXPECT_EQ(first.firstSize, 1452032);
  EXPECT_EQ(first.regenerate, 3);
  EXPECT_EQ(first.format, aftQuorvelle);
  EXPECT_TRUE(first.checkDigits);
  EXPECT_FALSE(first.writeBatchFile);
  EXPECT_FALSE(first.passphrase);

  s.saveBat.checked = true;
  SplitRequest raw;
  FillSplitRequest(s, 0, raw);
  EXPECT_EQ(raw.format, aftRaw);
  EXPECT_FALSE(raw.checkDigits);
  EXPECT_TRUE(raw.writeBatchFile);

  s.saveBat.checked = false;
  s.useEnc.checked = true;
  s.passphrase.text = L"Caf\u00e9 Kestrel";
  SplitRequest enciphered;
  FillSplitRequest(s, 0, enciphered);
  EXPECT_EQ(enciphered.passphrase, base::ToUtf8(L"Caf\u00e9 Kestrel"));
}

TEST(LongNameProblem, FolderAndFileNamesAgainstEightDotThree) {
  model::MainWindowState s;
  s.folderIndicator = kLampGreen;
  s.folderToSplit = L"C:\\DATA\\LONGFOLDERS";  // 11 characters
  ASSERT_TRUE(LongNameProblem(s));
  EXPECT_EQ(LongNameProblem(s)->substr(0, 40), "When BAT Generation and compression are ");
  EXPECT_NE(LongNameProblem(s)->find("The selected folder"), std::string::npos);
  s.folderToSplit = L"C:\\DATA\\WORK";
  EXPECT_FALSE(LongNameProblem(s));

  s.folderIndicator = kLampDarkRed;
  s.fileIndicator = kLampGreen;
  const std::pair<std::wstring, bool> files[] = {
      {L"C:\\IN\\REPORT.DOCX", false}, {L"C:\\IN\\ABCDEF", false},
      {L"C:\\IN\\AB", true},           {L"C:\\IN\\A.B", true},
      {L"C:\\IN\\ABCDEFGH.TXT", true}, {L"C:\\IN\\ABCDEFGHI.TXT", false},
      {L"C:\\IN\\A.B.C", true},        {L"C:\\LONG FOLDER NAME\\X.TXT", true},
  };
  for (const auto& [name, fits] : files) {
    s.fileToSplit = name;
    EXPECT_EQ(!LongNameProblem(s), fits) << base::ToUtf8(name);
  }
  s.fileToSplit = L"C:\\IN\\ABCDEF";
  EXPECT_EQ(*LongNameProblem(s),
            "When BAT Generation and compression are both used simultaneously, you cannot use "
            "long filenames. The file must only consist of up to 8 letters, a dot and 3 more "
            "letters.");
}

TEST(AskPassphrase, EachModeShowsItsTitleAndPrompt) {
  test::RecordingPrompts prompts;
  prompts.passphrases = {"one", std::nullopt};
  EXPECT_EQ(AskPassphrase(prompts, model::PassphraseMode::kConfirm), "one");
  EXPECT_EQ(AskPassphrase(prompts, model::PassphraseMode::kCheck), std::nullopt);
  EXPECT_EQ(prompts.asked,
            (std::vector<std::string>{
                "Password Confirmation|Before splitting takes place, please retype your password "
                "to confirm that you have entered it correctly. Passwords are case-sensitive.",
                "Security check|This fragment series has been encrypted. Please enter the "
                "correct password. Passwords are case-sensitive."}));
}

TEST_F(WindowCommandsTest, SplitAsksForTheSeriesAndWritesIt) {
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  EXPECT_EQ(window.outcomes, std::vector<std::string>{"1 Split: 3 fragments in " + out});
  ExpectOnlyBox("This will take up 3 files/disks. Do you still want to proceed?", "Are you sure?",
                mb::kOkCancel | mb::kIconQuestion);
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorSplitfile", "WexlorDonework"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "reset1", "enable"}));
  EXPECT_FALSE(splitterEvents.written.empty());
}

TEST_F(WindowCommandsTest, CancellingTheSeriesQuestionWritesNothing) {
  doubles.boxes.Answer(mb::kIdCancel);
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(LastBox().text, "Operation cancelled!");
  EXPECT_EQ(LastBox().title, "Cancelled");
  EXPECT_EQ(LastBox().style, mb::kOk | mb::kIconInformation);
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(prompts.sounds.empty());
  EXPECT_EQ(window.log, kLockedAndFreed);
}

TEST_F(WindowCommandsTest, BatchFileWithRawFragmentsAndRegeneration) {
  state.saveBat.checked = true;
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.003", "data.BAT"}));
  EXPECT_EQ(test::ReadBytes(dir / "out/data.001").size(), 10240u);  // raw: no header, no digits

  // One fragment again: no question, only that fragment.
  std::filesystem::remove(dir / "out/data.002");
  doubles.boxes.shown.clear();
  state.regenFragBool.checked = true;
  state.regenFragVal.text = L"2";
  Split(state, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(test::ReadBytes(dir / "out/data.002"),
            Bytes(data.begin() + 10240, data.begin() + 20480));

  state.regenFragVal.text = L"4";
  Split(state, context);
  ExpectOnlyBox(
      "It is not possible to regenerate the specified fragment as there are only 3 fragments in "
      "this series!",
      "Fragment out of range", mb::kOk | mb::kIconCritical);
}

TEST_F(WindowCommandsTest, RegenerationWritesOnlyItsFragmentAsTheSeriesHadIt) {
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  ASSERT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  const Bytes first = test::ReadBytes(dir / "out/data.001");
  const Bytes second = test::ReadBytes(dir / "out/data.002");
  const Bytes third = test::ReadBytes(dir / "out/data.003");
  const Bytes marker = {'o', 'l', 'd'};

  // 2.5 is fragment 2; the others stay as they are, and no question is asked.
  test::WriteBytes(dir / "out/data.001", marker);
  std::filesystem::remove(dir / "out/data.002");
  doubles.boxes.shown.clear();
  prompts.sounds.clear();
  state.regenFragBool.checked = true;
  state.regenFragVal.text = L"2.5";
  Split(state, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(test::ReadBytes(dir / "out/data.002"), second);
  EXPECT_EQ(test::ReadBytes(dir / "out/data.001"), marker);
  EXPECT_EQ(test::ReadBytes(dir / "out/data.003"), third);
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorSplitfile", "WexlorDonework"}));

  // Fragment 1 of the own format gets its header again.
  state.regenFragVal.text = L"1";
  Split(state, context);
  EXPECT_EQ(test::ReadBytes(dir / "out/data.001"), first);

  // 0 with the box ticked is the whole series, question and all.
  state.regenFragVal.text = L"0";
  doubles.boxes.Answer(mb::kIdCancel);
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "This will take up 3 files/disks. Do you still want to proceed?");
  EXPECT_EQ(LastBox().text, "Operation cancelled!");
}

TEST_F(WindowCommandsTest, FragmentNumbersNoSeriesHasAreRefused) {
  const std::string outOfRange =
      "It is not possible to regenerate the specified fragment as there are only 3 fragments in "
      "this series!";
  const std::pair<std::wstring, std::pair<std::string, std::string>> cases[] = {
      {L"4", {outOfRange, "Fragment out of range"}},
      // Beyond 16 bits is still a number, only one no series reaches.
      {L"40000", {outOfRange, "Fragment out of range"}},
      {L"1e30", {outOfRange, "Fragment out of range"}},
      // A negative number would write the whole series without asking.
      {L"-2", {"Please enter a number value for the fragment to regenerate!", "Invalid fragment"}},
      {L"", {"Please enter a number value for the fragment to regenerate!", "Invalid fragment"}},
  };
  state.regenFragBool.checked = true;
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(base::ToUtf8(text));
    state.regenFragVal.text = text;
    doubles.boxes.shown.clear();
    window.log.clear();
    Split(state, context);
    ExpectOnlyBox(message.first, message.second, mb::kOk | mb::kIconCritical);
    EXPECT_EQ(window.log, kLockedAndFreed);
  }
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(prompts.sounds.empty());
}

TEST_F(WindowCommandsTest, OnlyARegeneratedFirstFragmentWritesTheBatchFile) {
  state.saveBat.checked = true;
  state.regenFragBool.checked = true;
  state.regenFragVal.text = L"2";
  Split(state, context);
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.002"}));
  state.regenFragVal.text = L"1";
  Split(state, context);
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.BAT"}));
}

TEST_F(WindowCommandsTest, Error5EndsTheSplitWithItsReport) {
  platform.errorAdvisor = nullptr;  // the run's errors reach the command
  splitterEvents.onInterval = [this](int32_t value) {
    state.progressBar1.value = value;
    state.progressBar1.max = 40960;
    throw VbError(err::kInvalidArgument);
  };
  state.useEnc.checked = false;
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 3u);
  EXPECT_EQ(doubles.boxes.shown[1].title, "Runtime error 5 intercepted");
  EXPECT_EQ(LastBox().text,
            "Occurance: In FRM routine C7\r"
            "Fragment bytesize: 10240\r"
            "iFragment bytesize: 10240\r"
            "Flags: FalseFalseTrueFalseFalseFalse\r"
            "PB-Status: 10240 / 40960\r"
            "FL: 30000");
  EXPECT_EQ(LastBox().style, mb::kOk | mb::kIconInformation);
  // The progress stays where the error stopped it; the command just ends.
  EXPECT_EQ(window.log, kLockedAndFreed);
  EXPECT_EQ(state.progressBar1.value, 10240);
}

TEST_F(WindowCommandsTest, InputChecksComeFirstAndLeaveTheWindowAlone) {
  // The destination is checked before the lamps are.
  state.splitDestination = Wide(dir / "nowhere\\");
  state.light2 = kLampDarkRed;
  Split(state, context);
  ExpectOnlyBox("Destination directory doesn't exist - please check this", "", mb::kOk);

  // A file that is not there is refused by the splitter's list, which
  // says so, and then by the command.
  state.splitDestination = Wide(WithTrailingSeparator(out));
  state.fileToSplit = Wide(dir / "gone.bin");
  doubles.boxes.shown.clear();
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "Unable to find " + dir / "gone.bin" + "\rThis file will not be processed.");
  EXPECT_EQ(LastBox().text, "File to split doesn't exist - please check this");
  EXPECT_EQ(LastBox().style, mb::kOk);

  state.fileToSplit.clear();
  doubles.boxes.shown.clear();
  Split(state, context);
  ExpectOnlyBox("File to split doesn't exist - please check this", "", mb::kOk);

  state.fileIndicator = kLampDarkRed;
  state.folderIndicator = kLampGreen;
  state.folderToSplit = Wide(dir / "no folder");
  doubles.boxes.shown.clear();
  Split(state, context);
  ExpectOnlyBox("Folder to split no longer exists - please check this", "", mb::kOk);

  state.folderIndicator = kLampDarkRed;
  doubles.boxes.shown.clear();
  Split(state, context);
  ExpectOnlyBox("Please select a file or folder to split first!", "Split what?",
                mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(window.log.empty());
  EXPECT_TRUE(Written().empty());
}

TEST_F(WindowCommandsTest, AnAlreadyCompressedFileAsksBeforeCompressing) {
  test::WriteBytes(dir / "music.ZIP", data);
  state.fileToSplit = Wide(dir / "music.ZIP");
  state.useCompression.checked = true;
  doubles.boxes.Answer(mb::kIdNo);
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "Sure to enable compression?");
  EXPECT_EQ(LastBox().style, mb::kYesNo | mb::kIconExclamation);
  EXPECT_EQ(LastBox().text.substr(0, 48), "You have enabled automatic compression and have ");
  EXPECT_TRUE(window.log.empty());
  EXPECT_TRUE(Written().empty());
  // Yes goes on to the packing.
  doubles.boxes.Answer(mb::kIdYes);
  Split(state, context);
  ASSERT_EQ(packer.requests.size(), 1u);
  EXPECT_EQ(packer.requests[0].files, std::vector<std::wstring>{state.fileToSplit});
}

TEST_F(WindowCommandsTest, ChecksAfterTheWindowIsDisabledEnableItAgain) {
  struct Case {
    std::function<void(model::MainWindowState&)> change;
    std::string text;
    std::string title;
  };
  const Case cases[] = {
      {[](model::MainWindowState& s) {
         s.regenFragBool.checked = true;
         s.regenFragVal.text = L"two";
       },
       "Please enter a number value for the fragment to regenerate!", "Invalid fragment"},
      {[](model::MainWindowState& s) { s.light1 = kLampDarkRed; },
       "Please select a file to split first!", "Not enough information."},
      {[](model::MainWindowState& s) { s.light2 = kLampDarkRed; },
       "Please select where to put the fragments first!", "Not enough information."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    model::MainWindowState s = state;
    c.change(s);
    doubles.boxes.shown.clear();
    window.log.clear();
    Split(s, context);
    ExpectOnlyBox(c.text, c.title, mb::kOk | mb::kIconCritical);
    EXPECT_EQ(window.log, kLockedAndFreed);
  }
  EXPECT_TRUE(Written().empty());
}

TEST_F(WindowCommandsTest, LongNamesWithBatchFilesAndCompression) {
  state.saveBat.checked = true;
  state.useCompression.checked = true;
  test::WriteBytes(dir / "archive.data", data);
  state.fileToSplit = Wide(dir / "archive.data");
  Split(state, context);
  ExpectOnlyBox(*LongNameProblem(state), "Unable to support long filenames for selected features",
                mb::kOk | mb::kIconCritical);

  // A short folder name gets the warning; Cancel ends the command.
  test::MakeFolder(dir / "WORK");
  state.fileIndicator = kLampDarkRed;
  state.folderIndicator = kLampGreen;
  state.folderToSplit = Wide(dir / "WORK");
  doubles.boxes.shown.clear();
  window.log.clear();
  doubles.boxes.Answer(mb::kIdCancel);
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "Warning: No LFN support with selected features");
  EXPECT_EQ(LastBox().style, mb::kOkCancel | mb::kIconExclamation);
  EXPECT_EQ(window.log, kLockedAndFreed);
  EXPECT_TRUE(Written().empty());
}

TEST_F(WindowCommandsTest, APassphraseTypedDifferentlyWritesNothing) {
  state.useEnc.checked = true;
  state.passphrase.text = L"Kestrel";
  prompts.passphrases = {"kestrel"};
  Split(state, context);
  ExpectOnlyBox("The passwords do not match.", "Please try again", mb::kOk | mb::kIconCritical);
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].substr(0, 22), "Password Confirmation|");
  EXPECT_TRUE(Written().empty());
  EXPECT_EQ(window.log, kLockedAndFreed);
  // An empty answer is no match either; a cancelled dialog just ends.
  prompts.passphrases = {""};
  doubles.boxes.shown.clear();
  Split(state, context);
  EXPECT_EQ(LastBox().text, "The passwords do not match.");
  doubles.boxes.shown.clear();
  window.log.clear();
  Split(state, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(window.log, kLockedAndFreed);
  EXPECT_TRUE(Written().empty());
}

TEST_F(WindowCommandsTest, AnEncryptedSplitAssemblesWithItsPassphrase) {
  state.useEnc.checked = true;
  state.passphrase.text = L"Kestrel";
  prompts.passphrases = {"Kestrel"};
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  ASSERT_EQ(Written().size(), 3u);

  model::MainWindowState assemble;
  assemble.filesToAssemble = {Wide(dir / "out/data.001")};
  assemble.light3 = kLampGreen;
  test::MakeFolder(dir / "joined");
  assemble.assembleDestination = Wide(WithTrailingSeparator(dir / "joined"));
  assemble.light4 = kLampGreen;
  prompts.asked.clear();
  prompts.passphrases = {"Kestrel"};
  window.log.clear();
  Assemble(assemble, context);
  EXPECT_EQ(test::ReadBytes(dir / "joined/data.bin"), data);
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].substr(0, 15), "Security check|");
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "reset2", "enable"}));
  EXPECT_EQ(window.outcomes.back(),
            "2 Assembled: " + WithTrailingSeparator(dir / "joined") + "data.bin");
  // The window's assembler keeps the key that opened the series.
  std::filesystem::remove(dir / "joined/data.bin");
  Assemble(assemble, context);
  EXPECT_EQ(test::ReadBytes(dir / "joined/data.bin"), data);
  EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(WindowCommandsTest, AssembleChecksInOrder) {
  model::MainWindowState s;
  Assemble(s, context);
  ExpectOnlyBox("Please select a fragment to assemble first!", "Not enough information.",
                mb::kOk | mb::kIconCritical);
  s.filesToAssemble = {L"C:\\in\\s.001"};
  s.light3 = kLampGreen;
  doubles.boxes.shown.clear();
  Assemble(s, context);
  ExpectOnlyBox("Please select where to put the finished file first!", "Not enough information.",
                mb::kOk | mb::kIconCritical);
  s.light4 = kLampGreen;
  doubles.boxes.shown.clear();
  Assemble(s, context);
  ExpectOnlyBox("Please select a destination directory first.",
                "Destination directory not selected", mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(window.log.empty());

  // A cabinet picked directly is extracted, not assembled.
  s.filesToAssemble = {L"C:\\in\\BACKUP.CAB"};
  s.assembleDestination = Wide(WithTrailingSeparator(out));
  doubles.boxes.shown.clear();
  Assemble(s, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(unpacker.opened, std::vector<std::wstring>{L"C:\\in\\BACKUP.CAB"});
  EXPECT_EQ(watcher.ended, 0);
}

// Cabinets on the assemble side: one picked instead of fragments, and one
// that an assembly produced.
class AssembleCabinetTest : public WindowCommandsTest {
 protected:
  std::string joined = dir / "joined";
  std::string picked = dir / "BACKUP.CAB";
  model::MainWindowState assemble;

  static std::string In(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
  }

  void SetUp() override {
    WindowCommandsTest::SetUp();
    test::MakeFolder(joined);
    test::WriteBytes(picked, data);
    assemble.filesToAssemble = {Wide(picked)};
    assemble.light3 = kLampGreen;
    assemble.assembleDestination = Wide(WithTrailingSeparator(joined));
    assemble.light4 = kLampGreen;
  }

  // Splits a file of that name into the fragment folder and makes its first
  // fragment the one to assemble.
  void SplitFileNamed(const std::string& name) {
    test::WriteBytes(dir / name, data);
    state.fileToSplit = Wide(dir / name);
    doubles.boxes.Answer(mb::kIdOk);
    Split(state, context);
    ASSERT_EQ(Written().size(), 3u);
    assemble.filesToAssemble = {Wide(In(out, Written()[0]))};
    doubles.boxes.shown.clear();
    prompts.sounds.clear();
    window.log.clear();
  }

  std::string ExtractFailure(const std::string& description, const std::string& cabinet,
                             const std::string& entry) {
    return "There was an error extracting the file(s).  Possible explanations could include a "
           "lack of sufficient hard disk space, inability to access one or more files or a bug "
           "in the program. If you think it is a bug, please report it to "
           "bugs@vantrelloquin.example and quote the following text: ActiveX extraction error: "
           "1000, description:" +
           description + ", CABDir:" + cabinet + ", FirstEntry:" + entry;
  }
};

TEST_F(AssembleCabinetTest, APickedCabinetGoesIntoItsOwnSubfolderAndStays) {
  Assemble(assemble, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(unpacker.opened, std::vector<std::wstring>{Wide(picked)});
  ASSERT_EQ(unpacker.folders, std::vector<std::wstring>{Wide(In(joined, "BACKUP"))});
  EXPECT_TRUE(unpacker.folderThere[0]);
  EXPECT_EQ(unpacker.soundsBefore[0], std::vector<std::string>{"WexlorExtract"});
  // No done sound, and the bar is left alone.
  EXPECT_EQ(prompts.sounds, std::vector<std::string>{"WexlorExtract"});
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "30", "100",
                                                  "close", "enable"}));
  EXPECT_EQ(test::ReadBytes(picked), data);
  EXPECT_EQ(watcher.ended, 0);
}

TEST_F(AssembleCabinetTest, APickedCabinetsSubfolderMayBeThereAlready) {
  test::MakeFolder(In(joined, "BACKUP"));
  Assemble(assemble, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(unpacker.folders, std::vector<std::wstring>{Wide(In(joined, "BACKUP"))});
}

TEST_F(AssembleCabinetTest, APickedCabinetThatFailsShowsTheExtractionMessage) {
  unpacker.script.failures.push_back(VbError(cabinet::kCabinetFailure, "Extractor", "Bad cabinet"));
  Assemble(assemble, context);
  ExpectOnlyBox(ExtractFailure("Bad cabinet", picked, "docs\\readme.txt"), "Unable to extract",
                mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "30", "100",
                                                  "close", "reset2", "enable"}));
  EXPECT_EQ(test::ReadBytes(picked), data);
}

TEST_F(AssembleCabinetTest, OtherExtractionErrorsFollowTheErrorDialog) {
  // OK goes on as if the extraction had worked.
  unpacker.script.failures.push_back(VbError(70));
  doubles.boxes.Answer(mb::kIdOk);
  Assemble(assemble, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "There is a problem");
  EXPECT_EQ(window.log.back(), "enable");
  EXPECT_EQ(window.log[window.log.size() - 2], "close");

  // Cancel ends the program.
  window.log.clear();
  unpacker.script.failures.push_back(VbError(70));
  doubles.boxes.Answer(mb::kIdCancel);
  Assemble(assemble, context);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "30", "100",
                                                  "end", "close", "reset2", "enable"}));
}

TEST_F(AssembleCabinetTest, AnAssembledSingleEntryCabinetGoesIntoTheDestinationAndIsDeleted) {
  SplitFileNamed("pack.cab");
  unpacker.entries = 1;
  Assemble(assemble, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(unpacker.opened, std::vector<std::wstring>{Wide(In(joined, "pack.cab"))});
  EXPECT_EQ(unpacker.folders, std::vector<std::wstring>{Wide(joined)});
  EXPECT_EQ(unpacker.soundsBefore[0], (std::vector<std::string>{"WexlorAssfile", "WexlorExtract"}));
  EXPECT_EQ(prompts.sounds,
            (std::vector<std::string>{"WexlorAssfile", "WexlorExtract", "WexlorDonework"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "30", "100",
                                                  "close", "reset2", "enable"}));
  EXPECT_TRUE(test::NamesIn(joined).empty());
}

TEST_F(AssembleCabinetTest, AnAssembledCabinetOfSeveralEntriesGoesIntoAFolderUpToItsFirstDot) {
  SplitFileNamed("pack.v2.cab");
  unpacker.entries = 3;
  Assemble(assemble, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  ASSERT_EQ(unpacker.folders, std::vector<std::wstring>{Wide(In(joined, "pack"))});
  EXPECT_TRUE(unpacker.folderThere[0]);
  EXPECT_EQ(test::NamesIn(joined), std::vector<std::string>{"pack"});
  EXPECT_EQ(prompts.sounds.back(), "WexlorDonework");
}

TEST_F(AssembleCabinetTest, AnAssembledCabinetThatFailsToExtractIsKept) {
  SplitFileNamed("pack.cab");
  unpacker.script.failures.push_back(VbError(cabinet::kCabinetFailure, "Extractor", "Disk full"));
  Assemble(assemble, context);
  ExpectOnlyBox(ExtractFailure("Disk full", In(joined, "pack.cab"), "docs\\readme.txt"),
                "Unable to extract", mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(test::ReadBytes(In(joined, "pack.cab")), data);
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorAssfile", "WexlorExtract"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "30", "100",
                                                  "close", "reset2", "enable"}));
}

TEST_F(AssembleCabinetTest, AnUnreadableAssembledCabinetNamesNoEntryAndIsNotExtracted) {
  SplitFileNamed("pack.cab");
  unpacker.countFailure = VbError(cabinet::kCabinetFailure, "Extractor", "Not a cabinet");
  unpacker.firstEntry.clear();
  Assemble(assemble, context);
  ExpectOnlyBox(ExtractFailure("Not a cabinet", In(joined, "pack.cab"), ""), "Unable to extract",
                mb::kOk | mb::kIconExclamation);
  EXPECT_TRUE(unpacker.folders.empty());
  EXPECT_EQ(prompts.sounds, std::vector<std::string>{"WexlorAssfile"});
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Extracting....", "close",
                                                  "reset2", "enable"}));
  EXPECT_EQ(test::ReadBytes(In(joined, "pack.cab")), data);
}

TEST_F(AssembleCabinetTest, AnAssembledFileThatIsNoCabinetIsNotExtracted) {
  SplitFileNamed("data.bin");
  Assemble(assemble, context);
  EXPECT_TRUE(unpacker.opened.empty());
  EXPECT_EQ(test::ReadBytes(In(joined, "data.bin")), data);
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorAssfile", "WexlorDonework"}));
}

// "Make CAB only" packs folders only, into a destination already chosen.
TEST_F(WindowCommandsTest, MakeCabRefusesAFileOrNoDestination) {
  MakeCab(state, context);
  ExpectOnlyBox(
      "Sorry, you can only make CABs from folders - use the 'select folder to split' button to "
      "select a folder.",
      "Unable to create CAB", mb::kOk | mb::kIconCritical);

  state.fileIndicator = kLampDarkRed;
  state.folderIndicator = kLampGreen;
  state.folderToSplit = Wide(dir / "PROJECTS");
  state.light2 = kLampDarkRed;
  doubles.boxes.shown.clear();
  MakeCab(state, context);
  ExpectOnlyBox(
      "Please select where to place the CAB! Use the 'select fragment destination' button to do "
      "this.",
      "Unable to create CAB", mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(window.log.empty());
  EXPECT_TRUE(packer.requests.empty());
  EXPECT_TRUE(prompts.sounds.empty());
}

class MakeCabTest : public WindowCommandsTest {
 protected:
  std::string cabinet = WithTrailingSeparator(out) + "PROJECTS.cab";
  void SetUp() override {
    WindowCommandsTest::SetUp();
    test::MakeFolder(dir / "PROJECTS");
    state.fileIndicator = kLampDarkRed;
    state.folderIndicator = kLampGreen;
    state.folderToSplit = Wide(dir / "PROJECTS");
    state.useCompression.checked = true;
  }
};

TEST_F(MakeCabTest, PacksTheFolderIntoTheDestinationReplacingAnOlderCabinet) {
  test::WriteBytes(cabinet, data);
  packer.packed = test::PatternBytes(3000, 5);
  MakeCab(state, context);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  ASSERT_EQ(packer.requests.size(), 1u);
  const PackRequest& request = packer.requests[0];
  EXPECT_TRUE(request.compress);
  EXPECT_TRUE(request.files.empty());
  EXPECT_EQ(request.folders, std::vector<std::wstring>{Wide(dir / "PROJECTS")});
  // The older cabinet stays while the new one is packed beside it, then
  // gives way to it.
  ASSERT_EQ(packer.namesThere[0].size(), 2u);
  EXPECT_EQ(packer.namesThere[0][1], "PROJECTS.cab");  // after the working name's dot
  EXPECT_EQ(test::ReadBytes(cabinet), packer.packed);
  EXPECT_EQ(Written(), std::vector<std::string>{"PROJECTS.cab"});
  // The compress sound while the window shows, the done sound after it.
  EXPECT_EQ(packer.soundsBefore[0], std::vector<std::string>{"WexlorCompress"});
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorCompress", "WexlorDonework"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Compressing....", "40", "100",
                                                  "close", "enable"}));
}

TEST_F(MakeCabTest, AnOlderCabinetOutlivesACancelledOrFailedPacking) {
  test::WriteBytes(cabinet, data);
  packer.packed = test::PatternBytes(3000, 5);
  const std::vector<std::function<void()>> endings = {
      [&] { packingView.cancelAt = 0; },
      [&] { packer.script.failures.push_back(VbError(cabinet::kCabinetFailure)); },
      [&] {  // the error dialog's OK lets the failure pass
        packer.script.failures.push_back(VbError(70));
        doubles.boxes.Answer(mb::kIdOk);
      },
  };
  for (const auto& ending : endings) {
    ending();
    MakeCab(state, context);
    EXPECT_EQ(test::ReadBytes(cabinet), data);
    EXPECT_EQ(Written(), std::vector<std::string>{"PROJECTS.cab"});
  }
}

TEST_F(MakeCabTest, NamesTheCabinetAfterTheFoldersLastComponent) {
  state.folderToSplit = L"C:\\PROJECTS\\";
  state.splitDestination = L"A:\\";
  EXPECT_EQ(MadeCabinetName(state), L"A:\\PROJECTS.cab");
  state.folderToSplit = L"C:\\work\\2024 Reports";
  state.splitDestination = L"D:\\out\\";
  EXPECT_EQ(MadeCabinetName(state), L"D:\\out\\2024 Reports.cab");
  state.folderToSplit = L"F:\\";
  EXPECT_EQ(MadeCabinetName(state), L"D:\\out\\F.cab");
}

TEST_F(MakeCabTest, StoresWithoutCompressionUnderItsOwnCaption) {
  state.useCompression.checked = false;
  MakeCab(state, context);
  ASSERT_EQ(packer.requests.size(), 1u);
  EXPECT_FALSE(packer.requests[0].compress);
  EXPECT_EQ(window.log[1], "show Combining....");
}

TEST_F(MakeCabTest, ComponentFailureShowsItsMessageAndEnds) {
  packer.script.failures.push_back(
      VbError(cabinet::kCabinetFailure, "Compressor", "Cannot open \"x\""));
  MakeCab(state, context);
  ExpectOnlyBox(
      "There was an error compressing the file(s).  Possible explanations could include a lack of "
      "sufficient hard disk space, inability to access one or more files or a bug in the program. "
      "If you think it is a bug, please report it to bugs@vantrelloquin.example and quote the "
      "following text: ActiveX error: 1000, description:Cannot open \"x\", "
      "CABDir:PROJECTS, Source:C:\\in\\PROJECTS\\a.txt",
      "Unable to compress", mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Compressing....", "40", "100",
                                                  "close", "enable"}));
  EXPECT_EQ(prompts.sounds, std::vector<std::string>{"WexlorCompress"});
}

TEST_F(MakeCabTest, OtherErrorsFollowTheErrorDialog) {
  // OK goes on as if the step had worked.
  packer.script.failures.push_back(VbError(70));
  doubles.boxes.Answer(mb::kIdOk);
  MakeCab(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "There is a problem");
  EXPECT_EQ(prompts.sounds.back(), "WexlorDonework");
  EXPECT_EQ(window.log.back(), "enable");

  // Cancel ends the program.
  window.log.clear();
  prompts.sounds.clear();
  packer.script.failures.push_back(VbError(70));
  doubles.boxes.Answer(mb::kIdCancel);
  MakeCab(state, context);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Compressing....", "40", "100",
                                                  "end", "close", "enable"}));
  EXPECT_EQ(prompts.sounds, std::vector<std::string>{"WexlorCompress"});
}

TEST_F(MakeCabTest, AFailureWithAnEmptyListNamesNoEntry) {
  packer.script.failures.push_back(VbError(cabinet::kCabinetFailure));
  packer.first = {};
  MakeCab(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_NE(LastBox().text.find("ActiveX error: 1000, description:"), std::string::npos);
  EXPECT_NE(LastBox().text.find(", CABDir:, Source:"), std::string::npos);
}

// A folder, or a file to compress, is packed into a cabinet beside the
// temporary folder, which is split instead and removed afterwards.
class SplitPackingTest : public WindowCommandsTest {
 protected:
  std::string temp = dir / "temp";
  std::string cabinet = WithTrailingSeparator(temp) + "PROJECTS.cab";
  void SetUp() override {
    WindowCommandsTest::SetUp();
    test::MakeFolder(temp);
    test::MakeFolder(dir / "PROJECTS");
    state.fileIndicator = kLampDarkRed;
    state.folderIndicator = kLampGreen;
    state.folderToSplit = Wide(dir / "PROJECTS");
    packer.packed = test::PatternBytes(25000, 3);
  }
};

TEST_F(SplitPackingTest, AFolderIsPackedSplitAndItsCabinetRemoved) {
  Split(state, context);
  ASSERT_EQ(packer.requests.size(), 1u);
  const PackRequest& request = packer.requests[0];
  EXPECT_EQ(packer.namesThere[0].size(), 1u);  // its working name, beside the temporary folder
  EXPECT_FALSE(request.compress);              // a folder is packed whether or not it is compressed
  EXPECT_EQ(request.folders, std::vector<std::wstring>{state.folderToSplit});
  EXPECT_EQ(Written(), (std::vector<std::string>{"PROJECTS.001", "PROJECTS.002", "PROJECTS.003"}));
  EXPECT_TRUE(test::NamesIn(temp).empty());
  EXPECT_EQ(prompts.sounds,
            (std::vector<std::string>{"WexlorCompress", "WexlorSplitfile", "WexlorDonework"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Combining....", "40", "100",
                                                  "close", "reset1", "enable"}));
  EXPECT_EQ(LastBox().text, "This will take up 3 files/disks. Do you still want to proceed?");
}

TEST_F(SplitPackingTest, AFileToCompressIsPackedUnderItsNameUpToTheFirstDot) {
  state.fileIndicator = kLampGreen;
  state.folderIndicator = kLampDarkRed;
  state.useCompression.checked = true;
  Split(state, context);
  ASSERT_EQ(packer.requests.size(), 1u);
  EXPECT_TRUE(packer.requests[0].compress);
  EXPECT_EQ(packer.requests[0].files, std::vector<std::wstring>{state.fileToSplit});
  EXPECT_EQ(window.log[1], "show Compressing....");
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  EXPECT_TRUE(test::NamesIn(temp).empty());
}

TEST_F(SplitPackingTest, TheBatchFileOfAPackedFolderExtractsItIntoItsOwnFolder) {
  state.saveBat.checked = true;
  state.useCompression.checked = true;
  doubles.boxes.Answer(mb::kIdOk);  // the warning about long names, then the series
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Warning: No LFN support with selected features");
  const Bytes batch = test::ReadBytes(WithTrailingSeparator(out) + "PROJECTS.BAT");
  const std::string text(batch.begin(), batch.end());
  EXPECT_NE(text.find("extract /E /L \"PROJECTS\" \"PROJECTS.cab\" >NUL:"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\"PROJECTS.003\" \"PROJECTS.cab\""), std::string::npos) << text;
}

TEST_F(SplitPackingTest, CancellingTheSeriesRemovesTheCabinetAndWritesNoBatchFile) {
  state.saveBat.checked = true;
  doubles.boxes.Answer(mb::kIdCancel);
  Split(state, context);
  EXPECT_EQ(LastBox().text, "Operation cancelled!");
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(test::NamesIn(temp).empty());
  EXPECT_EQ(window.log.back(), "enable");
}

TEST_F(SplitPackingTest, AFailedPackingShowsItsMessageAndSplitsNothing) {
  packer.script.failures.push_back(VbError(cabinet::kCabinetFailure, "Compressor", "Disk full"));
  Split(state, context);
  ExpectOnlyBox(
      "There was an error compressing the file(s).  Possible explanations could include a lack of "
      "sufficient hard disk space, inability to access one or more files or a bug in the program. "
      "If you think it is a bug, please report it to bugs@vantrelloquin.example and quote the "
      "following text: ActiveX compression error: 1000, description:Disk full, "
      "CABDir:PROJECTS, Source:C:\\in\\PROJECTS\\a.txt",
      "Unable to compress", mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "show Combining....", "40", "100",
                                                  "close", "enable"}));
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(test::NamesIn(temp).empty());
}

TEST_F(SplitPackingTest, Error5WhilePackingIsTheSplitsReportOfAnEmptyList) {
  packer.script.failures.push_back(VbError(err::kInvalidArgument));
  state.progressBar1 = {3, 10};
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 3u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Runtime error 5 intercepted");
  // Nothing was in the splitter's list while a folder was packed.
  EXPECT_EQ(doubles.boxes.shown[1].title, "Suggested cause of error");
  EXPECT_EQ(LastBox().text,
            "Occurance: In FRM routine C7\r"
            "Fragment bytesize: 1457664\r"
            "iFragment bytesize: 1457664\r"
            "Flags: FalseFalseTrueFalseFalseFalse\r"
            "PB-Status: 3 / 10\r"
            "Virtual collection empty");
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(test::NamesIn(temp).empty());

  // A file being packed is in the list: its length is reported.
  state.fileIndicator = kLampGreen;
  state.folderIndicator = kLampDarkRed;
  state.useCompression.checked = true;
  packer.script.failures.push_back(VbError(err::kInvalidArgument));
  doubles.boxes.shown.clear();
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_NE(LastBox().text.find("\rFL: 30000"), std::string::npos);
}

TEST_F(SplitPackingTest, CancelWhilePackingStopsAndLeavesNoCabinet) {
  packingView.cancelAt = 0;
  Split(state, context);
  ExpectOnlyBox("Operation cancelled!", "Cancelled", mb::kOk | mb::kIconInformation);
  EXPECT_TRUE(packingView.cancelOffered);
  EXPECT_EQ(window.log,
            (std::vector<std::string>{"disable", "show Combining....", "40", "close", "enable"}));
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(test::NamesIn(temp).empty());
  EXPECT_TRUE(window.outcomes.empty());
}

TEST_F(WindowCommandsTest, EveryAnswerOfTheErrorDialogIsActedOn) {
  platform.errorAdvisor = nullptr;  // the run's errors reach the command
  int failures = 0;
  splitterEvents.onInterval = [&](int32_t) {
    if (failures-- > 0)
      throw VbError(err::kDiskNotReady);
  };
  // Retry splits again; Cancel ends the program.
  failures = 1;
  doubles.boxes.Answer(mb::kIdOk);     // the series
  doubles.boxes.Answer(mb::kIdRetry);  // the disk
  Split(state, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 2u);
  EXPECT_EQ(LastBox().text,
            "Please insert a disk in the drive and click retry. Otherwise click cancel to exit "
            "the program.");
  EXPECT_EQ(Written(), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "reset1", "enable"}));

  failures = 1;
  window.log.clear();
  doubles.boxes.Answer(mb::kIdOk);
  doubles.boxes.Answer(mb::kIdCancel);
  Split(state, context);
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "end", "enable"}));

  // The assembly's errors go to the same dialog.
  model::MainWindowState joining;
  joining.filesToAssemble = {Wide(dir / "out/data.001")};
  joining.light3 = joining.light4 = kLampGreen;
  test::MakeFolder(dir / "joined");
  joining.assembleDestination = Wide(WithTrailingSeparator(dir / "joined"));
  failures = 1;
  watcher.onStart = [&] {
    if (failures-- > 0)
      throw VbError(err::kDiskNotReady);
  };
  doubles.boxes.shown.clear();
  doubles.boxes.Answer(mb::kIdRetry);
  Assemble(joining, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "There is a problem");
  EXPECT_EQ(LastBox().style, mb::kRetryCancel | mb::kIconExclamation);
  EXPECT_EQ(test::ReadBytes(dir / "joined/data.bin"), data);
}

TEST_F(WindowCommandsTest, AnAssemblyThatEndsInsideTheEngineStillEndsWithTheDoneSound) {
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  // A header that counts no fragments: the engine says so and ends the run.
  Bytes first = test::ReadBytes(dir / "out/data.001");
  first[kFormatRecordLength] = first[kFormatRecordLength + 1] = 0;
  test::WriteBytes(dir / "out/data.001", first);
  model::MainWindowState joining;
  joining.filesToAssemble = {Wide(dir / "out/data.001")};
  joining.light3 = joining.light4 = kLampGreen;
  joining.assembleDestination = Wide(WithTrailingSeparator(out));
  doubles.boxes.shown.clear();
  prompts.sounds.clear();
  window.log.clear();
  Assemble(joining, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().title, "Nothing to assemble");
  EXPECT_EQ(prompts.sounds, (std::vector<std::string>{"WexlorAssfile", "WexlorDonework"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "reset2", "enable"}));
}

TEST_F(WindowCommandsTest, AnAssembledFileThatFailsItsChecksumIsCalledDamaged) {
  SplitRequest split;
  split.source = dir / "data.bin";
  split.destination = out;
  split.fragmentSize = 10240;
  split.writeChecksums = true;
  ASSERT_TRUE(RunSplitCommand(split, globals, splitterEvents, prompts).Complete());
  // The source's line names other bytes.
  Bytes sums = test::ReadBytes(dir / "out/data.sha256");
  sums[0] = sums[0] == '0' ? '1' : '0';
  test::WriteBytes(dir / "out/data.sha256", sums);
  model::MainWindowState joining;
  joining.filesToAssemble = {Wide(WithTrailingSeparator(out) + "data.001")};
  joining.light3 = joining.light4 = kLampGreen;
  test::MakeFolder(dir / "joined");
  joining.assembleDestination = Wide(WithTrailingSeparator(dir / "joined"));
  Assemble(joining, context);
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox().text, "The assembled file " + WithTrailingSeparator(dir / "joined") +
                                "data.bin does not match the SHA-256 digest of the source in " +
                                WithTrailingSeparator(out) + "data.sha256" +
                                ": it is damaged, or the fragments are not those the checksum "
                                "file was written for.");
  EXPECT_EQ(LastBox().title, "Assembled file damaged");
  EXPECT_EQ(LastBox().style, mb::kOk | mb::kIconCritical);
}

TEST_F(MakeCabTest, TheOutcomeNamesTheCabinet) {
  MakeCab(state, context);
  EXPECT_EQ(window.outcomes, std::vector<std::string>{"1 CAB made: " + cabinet});
}

// The names of the round-trip tests through the window's own commands, as
// the window holds them (UTF-16): CJK, Greek, combining accents (NFD), an
// emoji (a surrogate pair), blanks, and a path of more than 300
// characters. Each is split and assembled back under its name, the
// question names its count, and nothing else is asked. On Windows the
// tests' prefix runs with the code page 1252, which carries none of them.
const std::wstring kWindowNames[] = {
    L"\u5199\u771F \u30C6\u30B9\u30C8.bin",
    L"\u03A9\u03BC\u03AD\u03B3\u03B1.txt",
    L"Cafe\u0301 cre\u0300me.doc",
    L"party \U0001F389.tar.gz",
    L"  two  blanks \u2014 and a dash  .iso",
};

TEST_F(WindowCommandsTest, EveryNameSplitsAndAssemblesThroughTheWindowsCommands) {
  const std::wstring separator(1, static_cast<wchar_t>(kPathSeparator));
  std::wstring longFolder;
  for (int i = 0; i < 3; ++i)
    longFolder += std::wstring(i ? separator : L"") + std::wstring(90, L'\u03A9');
  std::vector<std::pair<std::wstring, std::wstring>> sources;  // folder, name
  for (const std::wstring& name : kWindowNames)
    sources.emplace_back(Wide(dir.Path()), name);
  sources.emplace_back(Wide(dir.Path()) + longFolder + separator,
                       L"long \u9577\u3044 \U0001F600.dat");
  ASSERT_GT(sources.back().first.size() + sources.back().second.size(), 300u);
  uint32_t seed = 0;
  for (const auto& [folder, name] : sources) {
    const std::string source = base::ToUtf8(folder + name);
    test::MakeFolder(base::ToUtf8(folder));
    const Bytes bytes = test::PatternBytes(25000, ++seed);
    test::WriteBytes(source, bytes);
    const std::string fragments = dir / ("fragments" + std::to_string(seed));
    const std::string joined = dir / ("joined" + std::to_string(seed));
    test::MakeFolder(fragments);
    test::MakeFolder(joined);

    state.fileToSplit = folder + name;
    state.splitDestination = Wide(WithTrailingSeparator(fragments));
    doubles.boxes.shown.clear();
    doubles.boxes.Answer(mb::kIdOk);
    Split(state, context);
    ExpectOnlyBox("This will take up 3 files/disks. Do you still want to proceed?", "Are you sure?",
                  mb::kOkCancel | mb::kIconQuestion);
    const std::string stem = StemOf(base::ToUtf8(name));
    EXPECT_EQ(test::NamesIn(fragments),
              (std::vector<std::string>{stem + "001", stem + "002", stem + "003"}));

    model::MainWindowState assemble;
    assemble.filesToAssemble = {Wide(WithTrailingSeparator(fragments) + stem + "001")};
    assemble.light3 = kLampGreen;
    assemble.assembleDestination = Wide(WithTrailingSeparator(joined));
    assemble.light4 = kLampGreen;
    doubles.boxes.shown.clear();
    Assemble(assemble, context);
    EXPECT_TRUE(doubles.boxes.shown.empty()) << doubles.boxes.shown.front().text;
    EXPECT_EQ(test::NamesIn(joined), std::vector<std::string>{base::ToUtf8(name)});
    EXPECT_EQ(test::ReadBytes(WithTrailingSeparator(joined) + base::ToUtf8(name)), bytes);
  }
}

}  // namespace
}  // namespace vtq

namespace vtq {
namespace {

// Recovery files written with the window's split, a series taken apart,
// "Verify" on it whole and broken, and the repair the assembly offers.
TEST_F(WindowCommandsTest, RecoveryFilesVerifyAndTheRepairBeforeAssembling) {
  state.useRecovery = {true, true};
  state.recoveryPercent = {L"100%", true};
  // Names as the file dialog gives them, with the system's separator.
  const auto inOut = [this](const std::string& name) { return WithTrailingSeparator(out) + name; };
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  ASSERT_EQ(window.outcomes.size(), 1u);
  EXPECT_EQ(window.outcomes[0],
            "1 Split: 3 fragments in " + out + "; recovery files rebuild 3 lost");
  EXPECT_TRUE(FileExists(inOut("data.par2")));
  ASSERT_FALSE(window.progress.empty());
  EXPECT_EQ(window.progress.back().bar, model::Control::kProgressBar1);
  EXPECT_EQ(window.progress.back().value, window.progress.back().max);

  model::MainWindowState chosen;
  chosen.filesToAssemble = {Wide(inOut("data.001"))};
  chosen.light3 = kLampGreen;
  test::MakeFolder(dir / "joined");
  chosen.assembleDestination = Wide(WithTrailingSeparator(dir / "joined"));
  chosen.light4 = kLampGreen;
  doubles.boxes.shown.clear();
  Verify(chosen, context);
  ExpectOnlyBox(
      "The series is sound: all 3 fragments are there and whole (check digits and recovery files "
      "checked).\n\nIts recovery files could rebuild 3 lost fragments.",
      "Verify", mb::kOk | mb::kIconInformation);

  std::filesystem::remove(inOut("data.002"));
  Bytes third = test::ReadBytes(inOut("data.003"));
  third.at(700) ^= 0x11;
  test::WriteBytes(inOut("data.003"), third);
  doubles.boxes.shown.clear();
  Verify(chosen, context);
  ExpectOnlyBox(
      "The series is not sound (check digits and recovery files checked).\n"
      "\nMissing: fragment 2 (data.002)"
      "\nDamaged: fragment 3 (data.003)"
      "\nSound: 1 fragment\n\n"
      "Its recovery files can rebuild 2 fragments at fault: assemble the series and accept the "
      "repair. They could rebuild 1 more after that.",
      "Verify", mb::kOk | mb::kIconExclamation);

  doubles.boxes.shown.clear();
  window.progress.clear();
  doubles.boxes.Answer(mb::kIdYes);
  Assemble(chosen, context);
  ASSERT_FALSE(doubles.boxes.shown.empty());
  EXPECT_EQ(doubles.boxes.shown[0].text, RepairOfferText(inOut("data.par2")));
  EXPECT_EQ(doubles.boxes.shown[0].title, "Repair");
  EXPECT_EQ(doubles.boxes.shown[0].style, mb::kYesNo | mb::kIconQuestion);
  EXPECT_EQ(test::ReadBytes(dir / "joined/data.bin"), data);
  ASSERT_FALSE(window.progress.empty());
  EXPECT_EQ(window.progress.front().bar, model::Control::kProgressBar2);
  EXPECT_EQ(window.outcomes.back(),
            "2 Assembled: " + WithTrailingSeparator(dir / "joined") + "data.bin");

  // Declined, the assembly stops at the missing fragment as it always has.
  std::filesystem::remove(inOut("data.002"));
  std::filesystem::remove(dir / "joined/data.bin");
  doubles.boxes.shown.clear();
  doubles.boxes.Answer(mb::kIdNo);
  Assemble(chosen, context);
  EXPECT_FALSE(FileExists(inOut("data.002")));
  EXPECT_FALSE(FileExists(dir / "joined/data.bin"));
}

TEST_F(WindowCommandsTest, RecoveryFilesNeedAPercentageAndAWholeSeries) {
  state.useRecovery = {true, true};
  for (const wchar_t* typed : {L"", L"0", L"101", L"ten", L"5%%"}) {
    doubles.boxes.shown.clear();
    state.recoveryPercent.text = typed;
    Split(state, context);
    ExpectOnlyBox(kBadRecoveryPercent, kBadRecoveryPercentTitle, mb::kOk | mb::kIconCritical);
    EXPECT_TRUE(Written().empty());
  }
  // Not offered (a removable disk), or one fragment written again: none.
  state.recoveryPercent.text = L"10";
  state.useRecovery.enabled = false;
  doubles.boxes.Answer(mb::kIdOk);
  Split(state, context);
  EXPECT_FALSE(FileExists(dir / "out/data.par2"));
  state.useRecovery.enabled = true;
  state.regenFragBool.checked = true;
  state.regenFragVal.text = L"2";
  Split(state, context);
  EXPECT_FALSE(FileExists(dir / "out/data.par2"));
  // A series without fragments chosen has nothing to verify.
  doubles.boxes.shown.clear();
  Verify(model::MainWindowState{}, context);
  ExpectOnlyBox("Please select the first fragment of a series to verify first!",
                "Not enough information.", mb::kOk | mb::kIconCritical);
}

}  // namespace
}  // namespace vtq
