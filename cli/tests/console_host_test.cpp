// The console host: box lines, how questions are answered, option parsing.

#include "cli/console_host.h"

#include <gtest/gtest.h>

#include <cstdio>

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

TEST(ConsoleBoxesTest, AnOkBoxIsPrintedAndAnsweredOk) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kNo, c.out, c.in, false);
  EXPECT_EQ(boxes.Show("Passphrase incorrect", "Access denied", mb::kOk | mb::kIconCritical),
            mb::kIdOk);
  EXPECT_EQ(c.Written(), "Access denied: Passphrase incorrect\n");
  EXPECT_EQ(boxes.CriticalShown(), 1);
  EXPECT_EQ(boxes.Shown(), 1);
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

TEST(ConsoleBoxesTest, WithoutATerminalQuestionsGetTheirNegativeAnswer) {
  Console c;
  ConsoleBoxes boxes(AnswerPolicy::kAsk, c.out, c.in, false);
  EXPECT_EQ(boxes.Show("q", "t", mb::kYesNo), mb::kIdNo);
  EXPECT_EQ(boxes.Show("q", "t", mb::kOkCancel), mb::kIdCancel);
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

TEST(ParseSizeTest, WholeBytesWithKAndMSuffixes) {
  EXPECT_EQ(ParseSize("1457664"), 1457664);
  EXPECT_EQ(ParseSize("1424k"), 1424 * 1024);
  EXPECT_EQ(ParseSize("2M"), 2 * 1048576);
  EXPECT_EQ(ParseSize("0"), 0);
  EXPECT_FALSE(ParseSize(""));
  EXPECT_FALSE(ParseSize("k"));
  EXPECT_FALSE(ParseSize("-5"));
  EXPECT_FALSE(ParseSize("1.5m"));
  EXPECT_FALSE(ParseSize("12g"));
  EXPECT_FALSE(ParseSize("99999999999999999999"));
  EXPECT_FALSE(ParseSize("9999999999999999m"));
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
  EXPECT_EQ(PassphraseFrom(ParseArgs({"-p", "x y"}, {"-p", "--passphrase-file"}, {}), error),
            "x y");
  EXPECT_EQ(
      PassphraseFrom(ParseArgs({"--passphrase-file", dir / "pw"}, {"-p", "--passphrase-file"}, {}),
                     error),
      "open sesame");
  EXPECT_TRUE(error.empty());
  EXPECT_FALSE(PassphraseFrom(ParseArgs({}, {"-p"}, {}), error));
  EXPECT_FALSE(PassphraseFrom(
      ParseArgs({"--passphrase-file", dir / "none"}, {"-p", "--passphrase-file"}, {}), error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
  error.clear();
  PassphraseFrom(ParseArgs({"-p", "a", "--passphrase-file", "b"}, {"-p", "--passphrase-file"}, {}),
                 error);
  EXPECT_FALSE(error.empty());
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
