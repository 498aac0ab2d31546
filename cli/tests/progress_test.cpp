// The progress line: its text from the figures, how often it is drawn, and
// what the built vtq draws on a real pseudo-terminal.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "cli/progress_line.h"
#include "cli/progress_meter.h"

#ifdef VTQ_PROGRAM
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "engine/tests/support/scratch.h"
#endif

namespace vtq::cli {
namespace {

TEST(ProgressLineTest, ByteCountsInBinaryUnits) {
  EXPECT_EQ(ByteCount(0), "0 B");
  EXPECT_EQ(ByteCount(1023), "1023 B");
  EXPECT_EQ(ByteCount(1024), "1.0 KiB");
  EXPECT_EQ(ByteCount(1457664), "1.4 MiB");
  EXPECT_EQ(ByteCount(104857600), "100.0 MiB");
  EXPECT_EQ(ByteCount(2147483648ULL), "2.00 GiB");
}

TEST(ProgressLineTest, DurationsInMinutesOrHours) {
  EXPECT_EQ(Duration(0), "0:00");
  EXPECT_EQ(Duration(7.4), "0:07");
  EXPECT_EQ(Duration(59.6), "1:00");
  EXPECT_EQ(Duration(754), "12:34");
  EXPECT_EQ(Duration(3723), "1:02:03");
  EXPECT_EQ(Duration(-3), "0:00");
  EXPECT_EQ(Duration(1e12), "99:59:59");
  EXPECT_EQ(Duration(std::numeric_limits<double>::infinity()), "99:59:59");
  EXPECT_EQ(Duration(std::numeric_limits<double>::quiet_NaN()), "0:00");
}

TEST(ProgressLineTest, DoneOfTotalPercentThroughputTimeLeftAndFragment) {
  // 3 MiB of 12 MiB in 2 seconds: 1.5 MiB/s, 9 MiB left takes 6 seconds.
  EXPECT_EQ(ProgressLine({3 << 20, 12 << 20, 2.0, 3, 12}),
            "3.0 MiB of 12.0 MiB  25%  1.5 MiB/s  0:06 left  fragment 3/12");
  // Nothing done yet, or no time measured: nothing to say about speed.
  EXPECT_EQ(ProgressLine({0, 12 << 20, 0.5, 0, 12}), "0 B of 12.0 MiB  0%  --/s  -- left");
  EXPECT_EQ(ProgressLine({1024, 4096, 0.0, 1, 4}),
            "1.0 KiB of 4.0 KiB  25%  --/s  -- left  fragment 1/4");
  // Done: 100% and nothing left.
  EXPECT_EQ(ProgressLine({4096, 4096, 1.0, 4, 4}),
            "4.0 KiB of 4.0 KiB  100%  4.0 KiB/s  0:00 left  fragment 4/4");
}

TEST(ProgressLineTest, PercentRoundsDownAndNeverPassesTheTotal) {
  EXPECT_EQ(ProgressLine({999, 1000, 1.0, 0, 0}).substr(0, 22), "999 B of 1000 B  99%  ");
  // A header makes the fragments longer than the source: never above 100%.
  EXPECT_EQ(ProgressLine({1100, 1000, 1.0, 0, 0}).substr(0, 24), "1000 B of 1000 B  100%  ");
  EXPECT_EQ(ProgressLine({0, 0, 0.0, 1, 1}).substr(0, 17), "0 B of 0 B  100% ");
}

// The meter drawing into a temporary file with a clock the test moves.
struct Screen {
  std::FILE* out = std::tmpfile();
  double now = 100.0;
  ~Screen() { std::fclose(out); }
  std::string Drawn() {
    std::fflush(out);
    std::rewind(out);
    std::string s;
    for (int c; (c = std::fgetc(out)) != EOF;)
      s.push_back(static_cast<char>(c));
    return s;
  }
  int Draws() {
    const std::string s = Drawn();
    return static_cast<int>(std::count(s.begin(), s.end(), '\r'));
  }
};

TEST(ProgressMeterTest, DrawsAtMostTenTimesASecondAndAlwaysTheEnd) {
  Screen screen;
  ProgressMeter meter(screen.out, true, [&] { return screen.now; });
  meter.Start(1000, 1000);
  EXPECT_EQ(screen.Drawn(), "\r0 B of 1000 B  0%  --/s  -- left");
  // A thousand fragments in half a second: five more drawings, not a thousand.
  for (int i = 1; i < 1000; ++i) {
    screen.now += 0.0005;
    meter.Update(static_cast<uint64_t>(i), i);
  }
  EXPECT_EQ(screen.Draws(), 1 + 4);
  screen.now += 0.0005;
  meter.Update(1000, 1000);  // the end is drawn however soon it comes
  EXPECT_EQ(screen.Draws(), 1 + 4 + 1);
  EXPECT_TRUE(
      screen.Drawn().ends_with("\r1000 B of 1000 B  100%  2.0 KiB/s  0:00 left  fragment "
                               "1000/1000"))
      << screen.Drawn();
}

TEST(ProgressMeterTest, AShorterLineBlanksWhatTheLongerOneLeftAndClearLeavesNothing) {
  Screen screen;
  ProgressMeter meter(screen.out, true, [&] { return screen.now; });
  meter.Start(2048, 2);
  screen.now += 1;
  meter.Update(1024, 1);
  const std::string before = screen.Drawn();
  const std::string longer = "1.0 KiB of 2.0 KiB  50%  1.0 KiB/s  0:01 left  fragment 1/2";
  EXPECT_TRUE(before.ends_with("\r" + longer)) << before;
  meter.Clear();
  EXPECT_EQ(screen.Drawn(), before + "\r" + std::string(longer.size(), ' ') + "\r");
  meter.Clear();  // nothing on the screen: nothing written
  EXPECT_EQ(screen.Drawn(), before + "\r" + std::string(longer.size(), ' ') + "\r");
}

TEST(ProgressMeterTest, ALineIsCutToTheTerminalsWidthSoThatItNeverWraps) {
  Screen screen;
  ProgressMeter meter(
      screen.out, true, [&] { return screen.now; }, 20);
  meter.Start(1000, 1000);
  EXPECT_EQ(screen.Drawn(), "\r0 B of 1000 B  0%  ");  // 19 characters
}

#ifdef VTQ_PROGRAM
// The built program on a pseudo-terminal: what a person at a terminal sees.
struct TerminalRun {
  int status = -1;
  std::string screen;
};

TerminalRun RunOnTerminal(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = VTQ_PROGRAM;
  argv.push_back(program.data());
  std::vector<std::string> copies(args);
  for (std::string& arg : copies)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  TerminalRun run;
  int master = -1;
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 80;
  const pid_t child = forkpty(&master, nullptr, nullptr, &size);
  if (child < 0)
    return run;
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(master, buffer, sizeof buffer);
    if (got > 0) {
      run.screen.append(buffer, static_cast<size_t>(got));
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the program has ended and closed its side
    }
  }
  close(master);
  int status = 0;
  waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(TerminalProgressTest, ASplitDrawsOneLineInPlaceThenItsSummary) {
  test::ScratchDir dir;
  test::WriteBytes(dir / "disk.img", test::PatternBytes(200 * 1024, 7));
  const TerminalRun run = RunOnTerminal({"split", dir / "disk.img", "-f", "raw", "-s", "10k"});
  ASSERT_EQ(run.status, 0) << run.screen;
  // The terminal turns each line feed into CR LF.
  EXPECT_TRUE(run.screen.starts_with("\r0 B of 200.0 KiB  0%  --/s  -- left")) << run.screen;
  EXPECT_NE(run.screen.find("\r200.0 KiB of 200.0 KiB  100%  "), std::string::npos) << run.screen;
  EXPECT_NE(run.screen.find(" left  fragment 20/20"), std::string::npos) << run.screen;
  EXPECT_TRUE(
      run.screen.ends_with("\rvtq: 20 fragments, 204800 bytes written to " + dir.Path() + "\r\n"))
      << run.screen;
  // No line per fragment, and the line was updated in place, never scrolled.
  EXPECT_EQ(run.screen.find("disk.001"), std::string::npos) << run.screen;
  EXPECT_EQ(run.screen.find('\n'), run.screen.size() - 1) << run.screen;
}

TEST(TerminalProgressTest, QuietDrawsNothingAndVerboseAddsTheFragmentLines) {
  test::ScratchDir dir;
  test::WriteBytes(dir / "disk.img", test::PatternBytes(30 * 1024, 7));
  const TerminalRun quiet =
      RunOnTerminal({"split", dir / "disk.img", "-f", "raw", "-s", "10k", "-q"});
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.screen, "");
  const TerminalRun verbose =
      RunOnTerminal({"split", dir / "disk.img", "-f", "raw", "-s", "10k", "-v"});
  EXPECT_EQ(verbose.status, 0);
  for (const char* name : {"disk.001\t10240\r\n", "disk.002\t10240\r\n", "disk.003\t10240\r\n"})
    EXPECT_NE(verbose.screen.find(dir.Path() + name), std::string::npos) << verbose.screen;
}
#endif

}  // namespace
}  // namespace vtq::cli
