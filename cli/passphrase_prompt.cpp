#include "cli/passphrase_prompt.h"

#include <unistd.h>

#include <cstdio>

#include "cli/console_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#endif

#include "cli/passphrase_source.h"

namespace vtq::cli {
namespace {

// Turns the terminal's echo off for its lifetime.
class EchoOff {
 public:
  EchoOff() {
#ifdef _WIN32
    input_ = GetStdHandle(STD_INPUT_HANDLE);
    active_ =
        GetConsoleMode(input_, &saved_) && SetConsoleMode(input_, saved_ & ~ENABLE_ECHO_INPUT);
#else
    active_ = tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (active_) {
      termios quiet = saved_;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
#endif
  }
  ~EchoOff() {
    if (!active_)
      return;
#ifdef _WIN32
    SetConsoleMode(input_, saved_);
#else
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
#endif
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  bool active_ = false;
#ifdef _WIN32
  HANDLE input_ = nullptr;
  DWORD saved_ = 0;
#else
  termios saved_{};
#endif
};

}  // namespace

bool StdinIsTerminal() {
  return ::isatty(STDIN_FILENO) != 0;
}

std::optional<std::string> AskPassphraseAtTerminal(std::string_view caption,
                                                   std::string_view prompt) {
  PrintText(stderr, "%.*s: %.*s\nPassphrase: ", static_cast<int>(caption.size()), caption.data(),
            static_cast<int>(prompt.size()), prompt.data());
  std::fflush(stderr);
  std::string line;
  LineEnd end = LineEnd::kNothing;
  {
    EchoOff quiet;
    end = ReadLine(stdin, line, kLongestPassphrase);
  }
  WriteText(stderr, "\n");
  if (end == LineEnd::kTooLong) {
    PrintText(stderr, "vtq: a passphrase has at most %zu bytes\n", kLongestPassphrase);
    return std::nullopt;
  }
  if (end == LineEnd::kNothing)
    return std::nullopt;
  return line;
}

}  // namespace vtq::cli
