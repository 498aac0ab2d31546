// The console host: box lines, how questions are answered, option parsing.

#include "cli/console_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/operations/assemble_operation.h"
#include "cli/console_prompts.h"
#include "cli/size_option.h"
#include "cli/passphrase_source.h"
#include "cli/tests/environment.h"
#include "engine/tests/support/scratch.h"

namespace vtq::cli {
namespace {

// A box shown to temporary files standing for standard error and input.
struct Console {
  std::FILE* out = std::tmpfile();
  std::FILE* in = std::tmpfile();
  ~Console() {
    std::fclose(out);
    std::fclose(in);
  }
  void Type(const std::string& text) {
    std::fputs(text.c_str(), in);
    std::rewind(in);
  }
  std::string Written() {
    std::rewind(out);
    std::string s;
    for (int c; (c = std::fgetc(out)) != EOF;)
      s.push_back(static_cast<char>(c));
    return s;
  }
};

TEST(BoxLineTest, TitleColonTextWithCarriageReturnsAsLineFeeds) {
  EXPECT_EQ(BoxLine("Please free some up", "Insufficient disk space"),
            "Insufficient disk space: Please free some up");
  EXPECT_EQ(BoxLine("a\rb\r\nc", "T"), "T: a\nb\nc");
  EXPECT_EQ(BoxLine("text", ""), "vtq: text");
}

TEST(BoxLineTest, NamesInTextAndTitleCannotReachTheTerminalAsEscapes) {
  // The engine's own line breaks stay line breaks; every other control
  // character is shown, so a name cannot retitle or recolour the terminal.
  EXPECT_EQ(BoxLine("Unable to find \x1B]0;owned\x07\x1B[31m.bin\rThis file will not be processed.",
                    "Pellworth Type Library"),
            "Pellworth Type Library: Unable to find \\x1B]0;owned\\x07\\x1B[31m.bin\nThis file "
            "will not be processed.");
  EXPECT_EQ(BoxLine("a\tb\x7F\x01\nc", "Ti\x1Btle"), "Ti\\x1Btle: a\\tb\\x7F\\x01\nc");
  EXPECT_EQ(BoxLine("r\xE9sum\xE9 C:\\x.doc", "T"), "T: r\xE9sum\xE9 C:\\x.doc");
  EXPECT_EQ(BoxLine("x\xC2\x9B"
                    "2J.bin\r\nnext",
                    "T\xC2\x9D"),
            "T\\xC2\\x9D: x\\xC2\\x9B2J.bin\nnext");
}

TEST(UsageErrorTest, ControlCharactersOfANameAreShownEscaped) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(UsageError("the destination folder \x1B[2Jout\n does not exist"), 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "vtq: the destination folder \\x1B[2Jout\\n does not exist\n");
}

TEST(ConsoleBoxesTest, AnOkBoxIsPrintedAndAnsweredOk) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kNo, c.out, c.in, false);
  EXPECT_EQ(boxes.Show("Passphrase incorrect", "Access denied", mb::kOk | mb::kIconCritical),
            mb::kIdOk);
  EXPECT_EQ(c.Written(), "Access denied: Passphrase incorrect\n");
  EXPECT_EQ(boxes.CriticalShown(), 1);
  EXPECT_EQ(boxes.Shown(), 1);
}

TEST(ConsoleBoxesTest, TheProgressLineMakesRoomBeforeEachBoxAndNote) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kAsk, c.out, c.in, false);
  boxes.BeforeEachLine([&] { std::fputs("<cleared>", c.out); });
  boxes.Show("Go on?", "Warning", mb::kYesNo);
  EXPECT_EQ(c.Written(),
            "<cleared>Warning: Go on?\n<cleared>vtq: no terminal to answer, so this question is "
            "answered No; --yes or --no answers it\n");
}

TEST(ConsoleBoxesTest, YesAndNoAnswerEveryKindOfQuestion) {
  Console c;
  ConsoleBoxes yes(AnswerPolicy::kYes, c.out, c.in, true);
  EXPECT_EQ(yes.Show("q", "t", mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(yes.Show("q", "t", mb::kOkCancel), mb::kIdOk);
  EXPECT_EQ(yes.Show("q", "t", mb::kYesNoCancel), mb::kIdYes);
  // Retry is left to a person: an automatic one could loop for ever.
  EXPECT_EQ(yes.Show("q", "t", mb::kRetryCancel), mb::kIdCancel);
  ConsoleBoxes no(AnswerPolicy::kNo, c.out, c.in, true);
  EXPECT_EQ(no.Show("q", "t", mb::kYesNo), mb::kIdNo);
  EXPECT_EQ(no.Show("q", "t", mb::kOkCancel), mb::kIdCancel);
  EXPECT_EQ(no.Show("q", "t", mb::kRetryCancel), mb::kIdCancel);
  EXPECT_EQ(no.Show("q", "t", mb::kAbortRetryIgnore), mb::kIdAbort);
  EXPECT_EQ(c.Written().find("[y/n]"), std::string::npos);  // nothing was asked
}

TEST(ConsoleBoxesTest, WithoutATerminalQuestionsGetTheirNegativeAnswerAndNameTheirOption) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kAsk, c.out, c.in, false);
  EXPECT_FALSE(boxes.CanAnswer());
  EXPECT_EQ(boxes.Show("Go on?", "Warning", mb::kYesNo), mb::kIdNo);
  EXPECT_EQ(boxes.Show("Insert disk 2", "Next disk", mb::kOkCancel), mb::kIdCancel);
  EXPECT_EQ(boxes.Show("Raw?", "Format", mb::kYesNoCancel), mb::kIdCancel);
  EXPECT_EQ(boxes.Show("Full", "Disk full", mb::kRetryCancel), mb::kIdCancel);
  EXPECT_EQ(boxes.Show("Failed", "There is a problem", mb::kAbortRetryIgnore), mb::kIdAbort);
  EXPECT_EQ(c.Written(),
            "Warning: Go on?\n"
            "vtq: no terminal to answer, so this question is answered No; --yes or --no answers "
            "it\n"
            "Next disk: Insert disk 2\n"
            "vtq: no terminal to answer, so this question is answered Cancel; --yes (OK) or --no "
            "(Cancel) answers it\n"
            "Format: Raw?\n"
            "vtq: no terminal to answer, so this question is answered Cancel; --yes (Yes) or --no "
            "(Cancel) answers it\n"
            "Disk full: Full\n"
            "vtq: no terminal to answer, so this question is answered Cancel; only a person at a "
            "terminal can retry\n"
            "There is a problem: Failed\n"
            "vtq: no terminal to answer, so this question is answered Abort; only a person at a "
            "terminal can retry\n");
  // An OK box asks nothing and needs no note.
  ConsoleBoxes informed(AnswerPolicy::kAsk, c.out, c.in, false);
  const std::string before = c.Written();
  EXPECT_EQ(informed.Show("Done", "vtq", mb::kOk), mb::kIdOk);
  EXPECT_EQ(c.Written(), before + "vtq: Done\n");
  // An option answers without a note.
  EXPECT_TRUE(ConsoleBoxes(AnswerPolicy::kNo, c.out, c.in, false).CanAnswer());
}

TEST(ConsolePromptsTest, TheUnknownFormatQuestionNobodyCanAnswerNamesItsOptionInstead) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kAsk, c.out, c.in, false);
  ConsolePrompts prompts(boxes, "big.001");
  EXPECT_EQ(prompts.AskYesNoCancel(kUnknownFormatQuestion, kUnknownFormatTitle), Answer::kCancel);
  EXPECT_TRUE(prompts.QuestionUnasked());
  EXPECT_EQ(c.Written(),
            "vtq: cannot tell whether big.001 is raw data or in the older format, and there is no "
            "terminal to ask: give --unknown-as raw or --unknown-as old\n");
  // Answered by an option, it is shown and answered as before.
  ConsoleBoxes yes(AnswerPolicy::kYes, c.out, c.in, false);
  ConsolePrompts answered(yes, "big.001");
  EXPECT_EQ(answered.AskYesNoCancel(kUnknownFormatQuestion, kUnknownFormatTitle), Answer::kYes);
  EXPECT_FALSE(answered.QuestionUnasked());
}

TEST(FileErrorNoteTest, TheFileFirstThenTheClassicWordsAndNumber) {
  EXPECT_EQ(FileErrorNote("C:\\out\\big.003", "File not found", 53),
            "C:\\out\\big.003: File not found (runtime error 53)");
  EXPECT_EQ(FileErrorNote("e\x1B[2J.001", "Path not found", 76),
            "e\\x1B[2J.001: Path not found (runtime error 76)");
}

TEST(ConsoleBoxesTest, AtATerminalTheAnswerIsAskedUntilItIsOneOfTheButtons) {
  Console c;
  c.Type("what\ny\nr\n");
  ConsoleBoxes boxes(AnswerPolicy::kAsk, c.out, c.in, true);
  EXPECT_EQ(boxes.Show("Continue?", "Warning", mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(boxes.Show("Insert", "Disk", mb::kRetryCancel), mb::kIdRetry);
  EXPECT_EQ(boxes.Show("Again", "Disk", mb::kRetryCancel), mb::kIdCancel);  // end of input
  EXPECT_NE(c.Written().find("Warning: Continue?\n[y/n] [y/n] "), std::string::npos);
}

TEST(ConsolePromptsTest, TheYesNoCancelQuestionIsABoxLineAnsweredLikeAnyBox) {
  Console c;
  c.Type("n\nc\n");
  ConsoleBoxes asked(AnswerPolicy::kAsk, c.out, c.in, true);
  ConsolePrompts atTerminal(asked);
  EXPECT_EQ(atTerminal.AskYesNoCancel("Raw?", "Format"), Answer::kNo);
  EXPECT_EQ(atTerminal.AskYesNoCancel("Raw?", "Format"), Answer::kCancel);
  EXPECT_EQ(atTerminal.AskYesNoCancel("Raw?", "Format"), Answer::kCancel);  // end of input
  EXPECT_EQ(c.Written().substr(0, 21), "Format: Raw?\n[y/n/c] ");
  ConsoleBoxes yes(AnswerPolicy::kYes, c.out, c.in, false);
  EXPECT_EQ(ConsolePrompts(yes).AskYesNoCancel("Raw?", "Format"), Answer::kYes);
  // --no takes the question's negative button, which for three is Cancel.
  ConsoleBoxes no(AnswerPolicy::kNo, c.out, c.in, false);
  EXPECT_EQ(ConsolePrompts(no).AskYesNoCancel("Raw?", "Format"), Answer::kCancel);
  EXPECT_EQ(no.Shown(), 1);
}

TEST(ParseSizeTest, WholeBytesWithKMAndGSuffixes) {
  EXPECT_EQ(ParseSize("1457664"), 1457664);
  EXPECT_EQ(ParseSize("1424k"), 1424 * 1024);
  EXPECT_EQ(ParseSize("2M"), 2 * 1048576);
  EXPECT_EQ(ParseSize("0"), 0);
  EXPECT_FALSE(ParseSize(""));
  EXPECT_FALSE(ParseSize("k"));
  EXPECT_FALSE(ParseSize("-5"));
  EXPECT_FALSE(ParseSize("1.5m"));
  EXPECT_EQ(ParseSize("12g"), int64_t{12} << 30);
  EXPECT_FALSE(ParseSize("12t"));
  EXPECT_FALSE(ParseSize("9999999999g"));
  EXPECT_FALSE(ParseSize("99999999999999999999"));
  EXPECT_FALSE(ParseSize("9999999999999999m"));
}

TEST(ParseSizeTest, ThePresetNamesAreThePresetsNotMultiples) {
  struct Case {
    const char* text;
    int64_t bytes;
  };
  for (const Case c : {Case{"720k", 730112}, Case{"720KB", 730112}, Case{"1.44m", 1457664},
                       Case{"1.44Mb", 1457664}, Case{"1.72m", 1745408}, Case{"2.88M", 3019899},
                       Case{"10k", 10240}, Case{"100m", 104857600}, Case{"1457664", 1457664}}) {
    const SizeOption size = ParseFragmentSize("-s", c.text);
    EXPECT_EQ(size.bytes, c.bytes) << c.text;
    EXPECT_EQ(size.error, "") << c.text;
  }
  EXPECT_EQ(ParseFragmentSize("-s", "10239").error,
            "size out of range for -s: 10239 (fragments are 10k to 100m, 10240 to 104857600 "
            "bytes)");
  EXPECT_EQ(ParseFragmentSize("-s", "104857601").error,
            "size out of range for -s: 104857601 (fragments are 10k to 100m, 10240 to 104857600 "
            "bytes)");
  EXPECT_EQ(ParseFragmentSize("--first-size", "1.45m").error,
            "bad size for --first-size: 1.45m (give bytes, a number with k, m or g, or 720k, "
            "1.44m, 1.72m, 2.88m)");
  EXPECT_NE(ParseFragmentSize("-s", "720").error, "");  // a preset needs its unit
}

// Where names have drives the engine is given full names, from which it
// takes the drive; elsewhere a name stands for itself.
TEST(DefaultsTest, TheFolderThatHoldsAFileAndFullNames) {
#ifdef _WIN32
  const std::string here = std::filesystem::current_path().string();
  const std::string above = std::filesystem::current_path().parent_path().string();
  const std::string drive = here.substr(0, 2);
  EXPECT_EQ(FolderOf("data.bin"), here);
  EXPECT_EQ(FolderOf("sub\\data.001"), here + "\\sub");
  EXPECT_EQ(FolderOf("C:\\images\\big.iso"), "C:\\images");
  const std::vector<std::pair<std::string, std::string>> names = {
      {".", here},
      {"out\\", here + "\\out\\"},
      {"..\\out", above + "\\out"},
      {"\\out", drive + "\\out"},
      {drive + "out", here + "\\out"},
      {"C:\\a\\..\\b", "C:\\a\\..\\b"},  // full already: as typed
      {"\\\\server\\share\\x", "\\\\server\\share\\x"},
  };
#else
  EXPECT_EQ(FolderOf("data.bin"), ".");
  EXPECT_EQ(FolderOf("sub/data.001"), "sub");
  EXPECT_EQ(FolderOf("/srv/images/big.iso"), "/srv/images");
  const std::vector<std::pair<std::string, std::string>> names = {
      {".", "."}, {"../out", "../out"}, {"/srv/x", "/srv/x"}};
#endif
  for (const auto& [typed, full] : names)
    EXPECT_EQ(FullName(typed), full) << typed;
}

TEST(DefaultsTest, HelpIsAskedBeforeTheEndOfTheOptions) {
  EXPECT_TRUE(HelpAsked({"big.iso", "--help"}));
  EXPECT_TRUE(HelpAsked({"-h"}));
  EXPECT_FALSE(HelpAsked({"--", "--help"}));  // a file named --help
  EXPECT_FALSE(HelpAsked({"big.iso", "-d", "out"}));
}

TEST(ParseArgsTest, OptionsValuesAndPositionals) {
  const auto p = ParseArgs({"src", "-d", "out", "-c", "--", "-odd"}, {"-d"}, {"-c"});
  EXPECT_TRUE(p.error.empty());
  EXPECT_EQ(p.positionals, (std::vector<std::string>{"src", "-odd"}));
  EXPECT_EQ(p.Value("-d"), "out");
  EXPECT_TRUE(p.Has("-c"));
  EXPECT_FALSE(p.Has("-x"));
  EXPECT_EQ(ParseArgs({"-d"}, {"-d"}, {}).error, "option -d needs a value");
  EXPECT_EQ(ParseArgs({"-z"}, {"-d"}, {}).error, "unknown option -z");
}

TEST(PassphraseTest, FromTheOptionOrTheFirstLineOfAFile) {
  test::ScratchDir dir;
  test::WriteText(dir / "pw", "open sesame\r\nsecond line\n");
  std::string error;
  const std::set<std::string> withValue{"-p", "--passphrase-file"};
  ParsedArgs option = ParseArgs({"-p", "x y"}, withValue, {});
  EXPECT_EQ(PassphraseFrom(option, error), "x y");
  EXPECT_EQ(option.Value("-p"), "");  // the parsed copy is wiped
  ParsedArgs file = ParseArgs({"--passphrase-file", dir / "pw"}, withValue, {});
  EXPECT_EQ(PassphraseFrom(file, error), "open sesame");
  EXPECT_TRUE(error.empty());
  ParsedArgs neither = ParseArgs({}, {"-p"}, {});
  EXPECT_FALSE(PassphraseFrom(neither, error));
  ParsedArgs missing = ParseArgs({"--passphrase-file", dir / "none"}, withValue, {});
  EXPECT_FALSE(PassphraseFrom(missing, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
  error.clear();
  ParsedArgs both = ParseArgs({"-p", "a", "--passphrase-file", "b"}, withValue, {});
  PassphraseFrom(both, error);
  EXPECT_FALSE(error.empty());
}

TEST(PassphraseTest, AFirstLineLongerThanAnyPassphraseOrWithoutEndIsRefused) {
  test::ScratchDir dir;
  const std::set<std::string> withValue{"--passphrase-file"};
  const auto fromFile = [&](const std::string& name, std::string& error) {
    ParsedArgs args = ParseArgs({"--passphrase-file", name}, withValue, {});
    return PassphraseFrom(args, error);
  };
  std::string error;
  const std::string longest(kLongestPassphrase, 'x');
  test::WriteText(dir / "longest", longest + "\r\n");
  EXPECT_EQ(fromFile(dir / "longest", error), longest);
  EXPECT_EQ(error, "");
  test::WriteText(dir / "longer", longest + "y");
  EXPECT_EQ(fromFile(dir / "longer", error), std::nullopt);
  EXPECT_EQ(error, "the first line of the passphrase file " + dir / "longer" +
                       " is longer than 4096 bytes");
#ifndef _WIN32
  // A file that never ends: read to the limit, not for ever.
  error.clear();
  EXPECT_EQ(fromFile("/dev/zero", error), std::nullopt);
  EXPECT_EQ(error, "the first line of the passphrase file /dev/zero is longer than 4096 bytes");
#endif
}

TEST(PassphraseTest, TheEnvironmentVariableWhenNoOptionGivesOne) {
  test::ScratchDir dir;
  test::WriteText(dir / "pw", "from file\n");
  const std::set<std::string> withValue{"-p", "--passphrase-file"};
  const std::set<std::string> flags{"-P", "--ask-passphrase"};
  std::string error;
  const ScopedVariable variable("VTQ_PASSPHRASE", "from environment");
  EXPECT_TRUE(EnvironmentPassphraseSet());
  ParsedArgs none = ParseArgs({}, withValue, flags);
  EXPECT_EQ(PassphraseFrom(none, error), "from environment");
  ParsedArgs option = ParseArgs({"-p", "from option"}, withValue, flags);
  EXPECT_EQ(PassphraseFrom(option, error), "from option");
  ParsedArgs file = ParseArgs({"--passphrase-file", dir / "pw"}, withValue, flags);
  EXPECT_EQ(PassphraseFrom(file, error), "from file");
  // Asked at the terminal: the caller asks, the variable is not used.
  for (const char* ask : {"-P", "--ask-passphrase"}) {
    ParsedArgs asked = ParseArgs({ask}, withValue, flags);
    EXPECT_EQ(PassphraseFrom(asked, error), std::nullopt);
  }
  EXPECT_TRUE(error.empty()) << error;
  ParsedArgs twice = ParseArgs({"-P", "-p", "x"}, withValue, flags);
  PassphraseFrom(twice, error);
  EXPECT_EQ(error, "-p, --passphrase-file and --ask-passphrase exclude each other");
}

TEST(PassphraseTest, AnEmptyOrMissingVariableGivesNone) {
  std::string error;
  {
    const ScopedVariable variable("VTQ_PASSPHRASE", "");
    EXPECT_FALSE(EnvironmentPassphraseSet());
    ParsedArgs none = ParseArgs({}, {"-p"}, {});
    EXPECT_EQ(PassphraseFrom(none, error), std::nullopt);
  }
  const ScopedVariable unset("VTQ_PASSPHRASE", nullptr);
  EXPECT_FALSE(EnvironmentPassphraseSet());
  ParsedArgs none = ParseArgs({}, {"-p"}, {});
  EXPECT_EQ(PassphraseFrom(none, error), std::nullopt);
  EXPECT_TRUE(error.empty());
}

TEST(PassphraseTest, TheProcessListStopsShowingAPassphraseArgument) {
  std::string words[] = {"src",          "-d", "-p", "-p", "open sesame",
                         "--unknown-as", "-p", "--", "-p", "kept"};
  std::vector<char*> argv;
  for (auto& word : words)
    argv.push_back(word.data());
  HidePassphraseArguments(static_cast<int>(argv.size()), argv.data());
  EXPECT_STREQ(argv[2], "-p");  // the value of -d
  EXPECT_EQ(std::string(argv[4], 11), std::string(11, '\0'));
  EXPECT_STREQ(argv[6], "-p");    // the value of --unknown-as
  EXPECT_STREQ(argv[9], "kept");  // after "--" nothing is an option
}

TEST(PolicyTest, YesNoOrAsk) {
  std::string error;
  EXPECT_EQ(PolicyFrom(ParseArgs({"--yes"}, {}, {"--yes", "--no"}), error), AnswerPolicy::kYes);
  EXPECT_EQ(PolicyFrom(ParseArgs({"--no"}, {}, {"--yes", "--no"}), error), AnswerPolicy::kNo);
  EXPECT_EQ(PolicyFrom(ParseArgs({}, {}, {"--yes", "--no"}), error), AnswerPolicy::kAsk);
  EXPECT_TRUE(error.empty());
  PolicyFrom(ParseArgs({"--yes", "--no"}, {}, {"--yes", "--no"}), error);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vtq::cli
