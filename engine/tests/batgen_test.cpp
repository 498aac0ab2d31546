#include "engine/program/batgen.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/tests/support/platform_doubles.h"

namespace vtq {
namespace {

// Stored settings with a record of every name asked for.
class StoredSettings : public SettingsSource {
 public:
  std::optional<std::string> ReadProgramSetting(std::string_view name) override {
    asked.emplace_back(name);
    const auto it = values.find(std::string(name));
    if (it == values.end())
      return std::nullopt;
    return it->second;
  }
  int Asked(std::string_view name) const {
    return static_cast<int>(std::count(asked.begin(), asked.end(), std::string(name)));
  }
  std::map<std::string, std::string> values;
  std::vector<std::string> asked;
};

const std::string kHead =
    "@ECHO OFF\r\n"
    "REM **** Created with Quorvelle Vantrelloquin ****\r\n"
    "REM ** BatGen version 4.0 **\r\n"
    "REM Rejoins the raw fragments below into their source file with copy /b\r\n"
    "\r\n";
const std::string kDefaultIntro =
    "ECHO *** File splitted and BAT assembler created using Quorvelle Vantrelloquin ***\r\n"
    "ECHO     * Cut to fit any disk, joined on any PC: Quorvelle Vantrelloquin *\r\n";

std::string Missing(const std::string& stem, const std::string& last) {
  return "if exist \"" + stem + last +
         "\" goto 1\r\n"
         "echo Please copy all the pieces of the file into the same directory on\r\n"
         "echo your hard disk, and then run this file again.\r\n"
         "goto 2\r\n"
         ":1\r\n";
}

// Every line of a text, without its line ends.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
  return lines;
}

TEST(DefaultIntroText, TwoLinesEachEndedByCrLf) {
  const std::string text(kDefaultBatIntroText);
  const auto lines = LinesOf(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "*** File splitted and BAT assembler created using Quorvelle Vantrelloquin ***");
  EXPECT_EQ(lines[1].substr(0, 5), "    *");
  EXPECT_EQ(lines[1].back(), '*');
  EXPECT_LE(lines[1].size(), 79u);
}

TEST(BatGenText, ThreeFragmentReportByteForByte) {
  const std::string text = BatGenText({"report.doc", 3, false}, nullptr);
  EXPECT_EQ(text, kHead + kDefaultIntro + "ECHO Assembling fragments into report.doc\r\n" +
                      Missing("report.", "003") +
                      "copy /b \"report.001\" + \"report.002\" + \"report.003\" \"report.doc\"\r\n"
                      "ECHO Done!\r\n"
                      ":2\r\n");
}

TEST(BatGenText, OneFragmentHasNoPlus) {
  const auto lines = LinesOf(BatGenText({"x.txt", 1, false}, nullptr));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "copy /b \"x.001\" \"x.txt\""), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "if exist \"x.001\" goto 1"), lines.end());
}

TEST(BatGenText, TwelveFragments) {
  const auto lines = LinesOf(BatGenText({"big.iso", 12, false}, nullptr));
  std::string join = "copy /b";
  for (int i = 1; i <= 12; ++i) {
    join += " \"big." + std::string(i < 10 ? "00" : "0") + std::to_string(i) + "\"";
    if (i < 12)
      join += " +";
  }
  join += " \"big.iso\"";
  EXPECT_NE(std::find(lines.begin(), lines.end(), join), lines.end());
  EXPECT_NE(join.find("\"big.010\""), std::string::npos);
}

TEST(BatGenText, MultiFileCabinetExtractsAndDeletes) {
  StoredSettings settings;
  settings.values = {{"BATGenDecomp", "1"}, {"BATGenDelCabs", "1"}};
  const std::string text = BatGenText({"work.cab", 2, true}, &settings);
  EXPECT_EQ(text, kHead + kDefaultIntro + "ECHO Assembling fragments into work.cab\r\n" +
                      Missing("work.", "002") +
                      "copy /b \"work.001\" + \"work.002\" \"work.cab\"\r\n"
                      "echo Attempting self-extraction....\r\n"
                      "extract /E /L \"work\" \"work.cab\" >NUL:\r\n"
                      "del \"work.cab\" >NUL:\r\n"
                      "ECHO Done!\r\n"
                      ":2\r\n");
}

TEST(BatGenText, SingleFileCabinetByDefaultKeepsTheCabinet) {
  StoredSettings settings;
  const auto lines = LinesOf(BatGenText({"notes.CAB", 1, false}, &settings));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "extract \"notes.CAB\" >NUL:"), lines.end());
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("del "); }),
            0);
  EXPECT_EQ(settings.Asked("BATGenDecomp"), 1);
  EXPECT_EQ(settings.Asked("BATGenDelCabs"), 1);
  EXPECT_EQ(settings.Asked("BATGenIText"), 1);
}

TEST(BatGenText, NoDecompressionMeansNoExtractAndNoDeleteQuestion) {
  StoredSettings settings;
  settings.values = {{"BATGenDecomp", "0"}, {"BATGenDelCabs", "1"}};
  const std::string text = BatGenText({"work.cab", 1, true}, &settings);
  EXPECT_EQ(text.find("extract"), std::string::npos);
  EXPECT_EQ(text.find("self-extraction"), std::string::npos);
  EXPECT_EQ(text.find("del "), std::string::npos);
  EXPECT_EQ(settings.Asked("BATGenDelCabs"), 0);
}

TEST(BatGenText, NonCabinetNeverAsksAboutExtraction) {
  StoredSettings settings;
  BatGenText({"movie.avi", 2, true}, &settings);
  EXPECT_EQ(settings.Asked("BATGenDecomp"), 0);
  EXPECT_EQ(settings.Asked("BATGenDelCabs"), 0);
}

TEST(BatGenText, SettingsAreReadAtEveryGeneration) {
  StoredSettings settings;
  settings.values["BATGenIText"] = "first\r\n";
  EXPECT_NE(BatGenText({"a.b", 1, false}, &settings).find("ECHO first\r\n"), std::string::npos);
  settings.values["BATGenIText"] = "second\r\n";
  EXPECT_NE(BatGenText({"a.b", 1, false}, &settings).find("ECHO second\r\n"), std::string::npos);
}

TEST(BatGenText, CabinetWithoutStemExtractsAllHere) {
  const auto lines = LinesOf(BatGenText({"archivecab", 1, true}, nullptr));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "extract /E \"archivecab\" >NUL:"), lines.end());
}

TEST(BatIntroText, EveryStoredLineBecomesOneEchoLine) {
  StoredSettings settings;
  settings.values["BATGenIText"] = "line one\r\nline two\r\n";
  EXPECT_EQ(BatIntroText(&settings), "ECHO line one\r\nECHO line two\r\n");
  settings.values["BATGenIText"] = "no line end";
  EXPECT_EQ(BatIntroText(&settings), "ECHO no line end\r\n");
  settings.values["BATGenIText"] = "";
  EXPECT_EQ(BatIntroText(&settings), "ECHO \r\n");
  settings.values["BATGenIText"] = "a\r\n\r\nb\r\n";
  EXPECT_EQ(BatIntroText(&settings), "ECHO a\r\nECHO \r\nECHO b\r\n");
  // Lines ended by a line feed alone stay separate lines.
  settings.values["BATGenIText"] = "a\nb";
  EXPECT_EQ(BatIntroText(&settings), "ECHO a\r\nECHO b\r\n");
  EXPECT_EQ(BatIntroText(nullptr), kDefaultIntro);
}

TEST(BatchEscaping, MetacharactersInNamesAndIntro) {
  EXPECT_EQ(EscapeBatchUnquoted("a&del x.doc"), "a^&del x.doc");
  EXPECT_EQ(EscapeBatchUnquoted("50% <off> | ^up"), "50%% ^<off^> ^| ^^up");
  // Inside quotes cmd takes & literally; a caret there would be shown.
  EXPECT_EQ(EscapeBatchUnquoted("say \"a&b\" & c"), "say \"a&b\" ^& c");
  EXPECT_EQ(EscapeBatchQuoted("r&d 100%.doc"), "r&d 100%%.doc");
  EXPECT_EQ(EscapeBatchUnquoted("plain name.doc"), "plain name.doc");
}

TEST(BatGenText, HostileNameOnlyEverNamesItsFiles) {
  StoredSettings settings;
  settings.values["BATGenIText"] = "Copy & paste <here> 100%\r\n";
  const auto lines = LinesOf(BatGenText({"a&del x.doc", 2, false}, &settings));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ECHO Copy ^& paste ^<here^> 100%%"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ECHO Assembling fragments into a^&del x.doc"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "copy /b \"a&del x.001\" + \"a&del x.002\" \"a&del x.doc\""),
            lines.end());
}

// Names a batch line cannot carry: the quote ends the quoted name and lets
// the rest run; a line break starts a line of the name's own.
const std::string kQuoteInjection = "NUL\" mkdir INJECTED1 & rem .bin";
const std::string kLineInjection = "a\nmkdir INJECTED2\n.bin";

TEST(BatchNameSafety, QuotesAndControlCharactersAreRefusedOthersPass) {
  EXPECT_EQ(FirstUnsafeBatchCharacter(kQuoteInjection), '"');
  EXPECT_EQ(FirstUnsafeBatchCharacter(kLineInjection), '\n');
  EXPECT_EQ(FirstUnsafeBatchCharacter("a\rb\"c"), '\r');  // the first one counts
  EXPECT_EQ(FirstUnsafeBatchCharacter(std::string("x\x1B]0;t\x07.bin")), '\x1B');
  EXPECT_EQ(FirstUnsafeBatchCharacter("tab\there"), '\t');
  EXPECT_EQ(FirstUnsafeBatchCharacter("del\x7F.bin"), '\x7F');
  EXPECT_EQ(FirstUnsafeBatchCharacter(std::string("z\x1A.bin")), '\x1A');
  // What the quoting and the escaping carry stays allowed.
  for (const char* name :
       {"report.doc", "a&del x.doc", "r&d 100%.doc", "^|<>()!;,=.txt", "\xE9t\xE9.doc", ""}) {
    EXPECT_EQ(FirstUnsafeBatchCharacter(name), std::nullopt) << name;
  }
}

TEST(BatchNameSafety, TheRefusalNamesTheCharacterAndTheName) {
  EXPECT_EQ(BatUnsafeNameText(kQuoteInjection, '"'),
            "BAT Generation unavailable for NUL\" mkdir INJECTED1 & rem .bin: its name holds the "
            "double quote \", which a batch file cannot carry safely. The BAT file will not be "
            "generated.");
  EXPECT_EQ(BatUnsafeNameText(kLineInjection, '\n'),
            "BAT Generation unavailable for a\\nmkdir INJECTED2\\n.bin: its name holds the "
            "control character \\n, which a batch file cannot carry safely. The BAT file will not "
            "be generated.");
  EXPECT_NE(
      BatUnsafeNameText("a\rb", '\r').find("for a\\rb: its name holds the control character \\r,"),
      std::string::npos);
  EXPECT_NE(BatUnsafeNameText("\x1B[2J", '\x1B')
                .find("for \\x1B[2J: its name holds the control "
                      "character \\x1B,"),
            std::string::npos);
}

TEST(CheckedBatGenText, SafeNamesGetTheSameTextWithoutABox) {
  test::TestPlatform doubles;
  const Platform platform = doubles.Fake();
  for (const char* name : {"report.doc", "a&del x.doc", "r&d 100%.doc"}) {
    EXPECT_EQ(CheckedBatGenText({name, 3, false}, platform), BatGenText({name, 3, false}, nullptr));
  }
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

TEST(CheckedBatGenText, AnUnsafeNameGivesNoTextAndOneBoxNamingTheCharacter) {
  for (const auto& name : {kQuoteInjection, kLineInjection, std::string("a\r\nb.cab")}) {
    test::TestPlatform doubles;
    EXPECT_EQ(CheckedBatGenText({name, 3, true}, doubles.Fake()), "");
    const auto& shown = doubles.boxes.shown;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "BAT Unavailable");
    EXPECT_EQ(shown[0].text, BatUnsafeNameText(name, *FirstUnsafeBatchCharacter(name)));
    EXPECT_EQ(shown[0].Icon(), mb::kIconExclamation);
    EXPECT_EQ(shown[0].Buttons(), mb::kOk);
  }
}

// cmd reads a batch file in the console's code page: the file is written in
// it, and a name it cannot carry gets none, with a box that says which
// character is missing. Latin-1 stands in for the console's page here.
TEST(CheckedBatGenText, TheFileIsInTheConsolesCodePageOrThereIsNone) {
  test::TestPlatform doubles;
  Platform platform = doubles.Fake();
  platform.batchCodePage = &base::Latin1CodePage();
  const std::string accented = "caf\xC3\xA9 cr\xC3\xA8me.txt";  // café crème.txt
  const std::string bytes = CheckedBatGenText({accented, 2, false}, platform);
  EXPECT_NE(bytes.find("copy /b \"caf\xE9 cr\xE8me.001\" + \"caf\xE9 cr\xE8me.002\" "
                       "\"caf\xE9 cr\xE8me.txt\""),
            std::string::npos);
  EXPECT_EQ(bytes.find("\xC3"), std::string::npos);
  EXPECT_TRUE(doubles.boxes.shown.empty());

  const std::string greek = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.bin";  // Ωμέγα.bin
  EXPECT_EQ(CheckedBatGenText({greek, 2, false}, platform), "");
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "BAT Unavailable");
  EXPECT_EQ(doubles.boxes.shown[0].text,
            "BAT Generation unavailable for " + greek +
                ": its name holds \xCE\xA9, which the command prompt's code page cannot show, so "
                "a batch file cannot name it. The BAT file will not be generated.");
  EXPECT_EQ(*BatNameProblem(greek, base::Latin1CodePage()), doubles.boxes.shown[0].text);
  EXPECT_FALSE(BatNameProblem(accented, base::Latin1CodePage()));
}

// Only the intro text can hold what the page lacks; it is shown, not named.
TEST(BatFileBytes, WhatThePageLacksBecomesAQuestionMark) {
  EXPECT_EQ(BatFileBytes("ECHO \xE2\x98\x85 caf\xC3\xA9\r\n", base::Latin1CodePage()),
            "ECHO ? caf\xE9\r\n");
  EXPECT_EQ(BatFileBytes("ECHO plain\r\n", base::Latin1CodePage()), "ECHO plain\r\n");
}

TEST(BatUnavailable, ExclamationBoxWithItsText) {
  test::RecordingBoxes boxes;
  ShowBatUnavailable(boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "BAT Unavailable");
  EXPECT_EQ(boxes.shown[0].text,
            "BAT Generation unavailable for selected options. The BAT file will not be generated.");
  EXPECT_EQ(boxes.shown[0].Icon(), mb::kIconExclamation);
  EXPECT_EQ(boxes.shown[0].Buttons(), mb::kOk);
}

}  // namespace
}  // namespace vtq
