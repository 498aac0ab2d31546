#include "cli/console_host.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/utf8_path.h"
#include "cli/console_text.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"

namespace vtq::cli {
namespace {

bool IsQuestion(unsigned buttons) {
  return buttons != mb::kOk;
}

// The answers of a box type: affirmative, negative.
struct Answers {
  int yes;
  int no;
  const char* prompt;
};

Answers AnswersOf(unsigned buttons) {
  switch (buttons) {
    case mb::kYesNo:
      return {mb::kIdYes, mb::kIdNo, "[y/n]"};
    case mb::kYesNoCancel:
      return {mb::kIdYes, mb::kIdCancel, "[y/n/c]"};
    case mb::kOkCancel:
      return {mb::kIdOk, mb::kIdCancel, "[o(k)/c(ancel)]"};
    case mb::kRetryCancel:
      return {mb::kIdRetry, mb::kIdCancel, "[r(etry)/c(ancel)]"};
    case mb::kAbortRetryIgnore:
      return {mb::kIdRetry, mb::kIdAbort, "[r(etry)/a(bort)/i(gnore)]"};
    default:
      return {mb::kIdOk, mb::kIdOk, ""};
  }
}

bool IsRetry(unsigned buttons) {
  return buttons == mb::kRetryCancel || buttons == mb::kAbortRetryIgnore;
}

}  // namespace

std::string BoxLine(std::string_view text, std::string_view title) {
  std::string line = ShownText(title.empty() ? std::string_view("vtq") : title);
  line += ": ";
  // The box's own line breaks stay; everything between them is shown as text.
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n')
      continue;
    line += ShownText(text.substr(start, i - start));
    if (i == text.size())
      break;
    line += '\n';
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  return line;
}

ConsoleBoxes::ConsoleBoxes(AnswerPolicy policy, std::FILE* out, std::FILE* in, bool interactive)
    : policy_(policy), out_(out), in_(in), interactive_(interactive) {}

int ConsoleBoxes::Show(std::string_view text, std::string_view title, unsigned style) {
  ++shown_;
  if ((style & mb::kIconMask) == mb::kIconCritical)
    ++critical_;
  MakeRoom();
  PrintText(out_, "%s\n", BoxLine(text, title).c_str());
  std::fflush(out_);
  const unsigned buttons = style & mb::kButtonsMask;
  if (!IsQuestion(buttons))
    return mb::kIdOk;
  const Answers answers = AnswersOf(buttons);
  switch (policy_) {
    case AnswerPolicy::kYes:
      return IsRetry(buttons) ? answers.no : answers.yes;
    case AnswerPolicy::kNo:
      return answers.no;
    case AnswerPolicy::kAsk:
      break;
  }
  if (interactive_)
    return Ask(buttons);
  Note(UnaskedQuestionNote(buttons));
  return answers.no;
}

void ConsoleBoxes::MakeRoom() {
  if (beforeEachLine_)
    beforeEachLine_();
}

void ConsoleBoxes::Note(const std::string& text) {
  MakeRoom();
  PrintText(out_, "vtq: %s\n", text.c_str());
  std::fflush(out_);
}

std::string UnaskedQuestionNote(unsigned buttons) {
  constexpr const char* kNoTerminal = "no terminal to answer, so this question is answered ";
  switch (buttons) {
    case mb::kYesNo:
      return std::string(kNoTerminal) + "No; --yes or --no answers it";
    case mb::kOkCancel:
      return std::string(kNoTerminal) + "Cancel; --yes (OK) or --no (Cancel) answers it";
    case mb::kYesNoCancel:
      return std::string(kNoTerminal) + "Cancel; --yes (Yes) or --no (Cancel) answers it";
    case mb::kAbortRetryIgnore:
      return std::string(kNoTerminal) + "Abort; only a person at a terminal can retry";
    default:
      return std::string(kNoTerminal) + "Cancel; only a person at a terminal can retry";
  }
}

std::string FileErrorNote(const std::string& file, const std::string& description, int32_t number) {
  return ShownText(file) + ": " + ShownText(description) + " (runtime error " +
         std::to_string(number) + ")";
}

TrapAction ConsoleErrorAdvisor::Advise(const VbError& error) {
  if (!error.FileName().empty())
    boxes_.Note(FileErrorNote(error.FileName(), error.Description(), error.Number()));
  return ShowErrorDialog(error, boxes_);
}

int ConsoleBoxes::Ask(unsigned buttons) {
  const Answers answers = AnswersOf(buttons);
  for (;;) {
    PrintText(out_, "%s ", answers.prompt);
    std::fflush(out_);
    char line[64];
    if (!std::fgets(line, sizeof line, in_))
      return answers.no;  // end of input
    switch (std::tolower(static_cast<unsigned char>(line[0]))) {
      case 'y':
      case 'o':
      case 'r':
        return answers.yes;
      case 'n':
        return buttons == mb::kYesNoCancel ? mb::kIdNo : answers.no;
      case 'a':
        return answers.no;
      case 'c':
        return buttons == mb::kYesNo || buttons == mb::kAbortRetryIgnore ? answers.no
                                                                         : mb::kIdCancel;
      case 'i':
        if (buttons == mb::kAbortRetryIgnore)
          return mb::kIdIgnore;
        break;
      default:
        break;
    }
  }
}

ConsoleHost::ConsoleHost(AnswerPolicy policy)
    : boxes_(policy, stderr, stdin, ::isatty(STDIN_FILENO) != 0),
      advisor_(boxes_),
      drives_(SystemDrives()),
      platform_{boxes_, loop_, drives_, SystemFolders(), &advisor_, nullptr},
      globals_(platform_) {}

ParsedArgs::~ParsedArgs() {
  for (auto& [option, value] : values)
    SecureWipe(value);
}

std::optional<std::string> ParsedArgs::Value(const std::string& option) const {
  const auto it = values.find(option);
  if (it == values.end())
    return std::nullopt;
  return it->second;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& flags) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      parsed.positionals.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (withValue.count(a)) {
      if (i + 1 >= args.size()) {
        parsed.error = "option " + a + " needs a value";
        return parsed;
      }
      parsed.values[a] = args[++i];
    } else if (flags.count(a)) {
      parsed.flags.insert(a);
    } else {
      parsed.error = "unknown option " + a;
      return parsed;
    }
  }
  return parsed;
}

std::optional<int64_t> ParseSize(std::string_view text) {
  int64_t factor = 1;
  if (!text.empty()) {
    const char last = static_cast<char>(std::tolower(static_cast<unsigned char>(text.back())));
    if (last == 'k')
      factor = 1024;
    if (last == 'm')
      factor = 1048576;
    if (last == 'g')
      factor = 1073741824;
    if (factor != 1)
      text.remove_suffix(1);
  }
  if (text.empty())
    return std::nullopt;
  int64_t value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9')
      return std::nullopt;
    if (__builtin_mul_overflow(value, 10, &value) ||
        __builtin_add_overflow(value, ch - '0', &value)) {
      return std::nullopt;
    }
  }
  if (__builtin_mul_overflow(value, factor, &value))
    return std::nullopt;
  return value;
}

Verbosity VerbosityFrom(const ParsedArgs& args, std::string& error) {
  const bool quiet = args.Has("-q");
  const bool verbose = args.Has("-v");
  if (quiet && verbose)
    error = "-q and -v exclude each other";
  return quiet ? Verbosity::kQuiet : verbose ? Verbosity::kVerbose : Verbosity::kNormal;
}

bool HelpAsked(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--")
      return false;
    if (arg == "-h" || arg == "--help")
      return true;
  }
  return false;
}

std::string FullName(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path full = fs::absolute(base::PathFromUtf8(name), error);
  if (name.empty() || error || !full.has_root_name())
    return name;
  // Full already: a drive's root folder, or a network name ("\\server\share",
  // which the library takes for a folder of the current drive's root).
  const auto separator = [](char c) { return c == '/' || c == fs::path::preferred_separator; };
  const fs::path typed = base::PathFromUtf8(name);
  if ((typed.has_root_name() && typed.has_root_directory()) ||
      (name.size() > 1 && separator(name[0]) && separator(name[1]))) {
    return name;
  }
  return base::Utf8FromPath(full);
}

std::string FolderOf(const std::string& file) {
  const std::filesystem::path folder = base::PathFromUtf8(file).parent_path();
  return FullName(folder.empty() ? std::string(".") : base::Utf8FromPath(folder));
}

// The engine's own file queries: on Windows they take every name whole,
// long ones too.
std::string DestinationProblem(const std::string& folder) {
  if (FolderExists(folder))
    return {};
  if (FileExists(folder))
    return "the destination " + folder + " is not a folder";
  return "the destination folder " + folder + " does not exist";
}

uint64_t FileSizeOrZero(const std::string& name) {
  try {
    return FileLength(name);
  } catch (const VbError&) {
    return 0;
  }
}

AnswerPolicy PolicyFrom(const ParsedArgs& args, std::string& error) {
  const bool yes = args.Has("--yes");
  const bool no = args.Has("--no");
  if (yes && no)
    error = "--yes and --no exclude each other";
  return yes ? AnswerPolicy::kYes : no ? AnswerPolicy::kNo : AnswerPolicy::kAsk;
}

std::string NotAFileProblem(const std::string& name) {
  std::error_code error;
  const auto status = std::filesystem::status(base::PathFromUtf8(name), error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status) ||
      std::filesystem::is_directory(status)) {
    return {};
  }
  return name + " is not a regular file: pipes and devices cannot be split or assembled";
}

int UsageError(const std::string& message) {
  PrintText(stderr, "vtq: %s\n", ShownText(message).c_str());
  return 2;
}

}  // namespace vtq::cli
