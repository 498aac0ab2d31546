// vtq split: one source file into a fragment series through ActiveSplitter.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/passphrase_prompt.h"
#include "cli/passphrase_source.h"
#include "cli/split_events.h"
#include "engine/batgen.h"
#include "engine/error_trap.h"
#include "engine/file_io.h"
#include "engine/path.h"
#include "engine/same_file.h"
#include "engine/secure_wipe.h"
#include "engine/shown_text.h"
#include "engine/splitter.h"
#include "engine/working_file.h"

namespace vtq::cli {
namespace {

constexpr int32_t kDefaultFragmentSize = aftHighDensity;

// A raw or old series has no header: the assembler could neither strip
// check digits nor know that the data needs deciphering.
constexpr const char* kCheckDigitsNeedOwn =
    "check digits (-c) need the own format (-f own): a raw or old series has no header to record "
    "them";
constexpr const char* kEncryptionNeedsOwn =
    "a passphrase (-p, --passphrase-file, --ask-passphrase) needs the own format (-f own): a raw "
    "or old series has no header to record the encryption";
constexpr const char* kEnvironmentNotUsed =
    "vtq: VTQ_PASSPHRASE is not used: a raw or old series cannot be encrypted\n";

struct SplitOptions {
  std::string source;
  std::string destination;
  int64_t fragmentSize = kDefaultFragmentSize;
  std::optional<int64_t> firstSize;
  AftFileFormat format = aftQuorvelle;
  bool checkability = false;
  std::optional<std::string> passphrase;
  bool askPassphrase = false;
  int64_t regenerate = 0;
  bool writeBat = false;
  AnswerPolicy policy = AnswerPolicy::kAsk;

  SplitOptions() = default;
  ~SplitOptions() { SecureWipe(passphrase); }
  SplitOptions(const SplitOptions&) = delete;
  SplitOptions& operator=(const SplitOptions&) = delete;
};

// Usage errors return the message; an empty text means the options are good.
std::string ReadOptions(std::vector<std::string>& args, SplitOptions& o) {
  ParsedArgs parsed =
      ParseArgs(args, {"-d", "-s", "--first-size", "-f", "-p", "--passphrase-file", "--regen"},
                {"-c", "--bat", "--yes", "--no", "-P", "--ask-passphrase"});
  for (std::string& arg : args)
    SecureWipe(arg);
  if (!parsed.error.empty())
    return parsed.error;
  if (parsed.positionals.size() != 1)
    return "split takes exactly one SOURCE";
  o.source = parsed.positionals.front();
  if (std::string problem = NotAFileProblem(o.source); !problem.empty())
    return problem;
  const auto destination = parsed.Value("-d");
  if (!destination || destination->empty())
    return "split needs a destination folder (-d DIR)";
  o.destination = *destination;

  const auto size = [&](const char* option, int64_t& target) -> std::string {
    const auto text = parsed.Value(option);
    if (!text)
      return {};
    const auto bytes = ParseSize(*text);
    if (!bytes)
      return std::string("bad size for ") + option + ": " + *text;
    target = *bytes;
    return {};
  };
  if (auto e = size("-s", o.fragmentSize); !e.empty())
    return e;
  if (parsed.Value("--first-size")) {
    int64_t first = 0;
    if (auto e = size("--first-size", first); !e.empty())
      return e;
    o.firstSize = first;
  }
  if (const auto format = parsed.Value("-f")) {
    if (*format == "own")
      o.format = aftQuorvelle;
    else if (*format == "raw")
      o.format = aftRaw;
    else if (*format == "old")
      o.format = aftBrannock;
    else
      return "unknown format " + *format + " (own, raw or old)";
  }
  if (const auto regen = parsed.Value("--regen")) {
    const auto n = ParseSize(*regen);
    if (!n || *n < 1 || *n > INT16_MAX ||
        regen->find_first_not_of("0123456789") != std::string::npos) {
      return "bad fragment number for --regen: " + *regen;
    }
    o.regenerate = *n;
  }
  o.checkability = parsed.Has("-c");
  o.writeBat = parsed.Has("--bat");
  if (o.writeBat && o.format != aftRaw)
    return "--bat needs raw fragments (-f raw)";
  std::string error;
  o.policy = PolicyFrom(parsed, error);
  if (!error.empty())
    return error;
  if (o.format != aftQuorvelle) {
    if (o.checkability)
      return kCheckDigitsNeedOwn;
    if (parsed.Has("-p") || parsed.Has("--passphrase-file") || parsed.Has("-P") ||
        parsed.Has("--ask-passphrase")) {
      return kEncryptionNeedsOwn;
    }
    // The variable is a standing default, not a request for this series.
    return {};
  }
  o.passphrase = PassphraseFrom(parsed, error);
  if (!error.empty())
    return error;
  o.askPassphrase = parsed.Has("-P") || parsed.Has("--ask-passphrase");
  if (o.passphrase && o.passphrase->empty())
    return "an empty passphrase cannot encrypt";
  return {};
}

// Sizes beyond 32 bits are clamped by the splitter like any other.
int32_t AsSize(int64_t bytes) {
  return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

void Configure(ActiveSplitter& splitter, SplitOptions& o) {
  splitter.SetDestinationFolder(o.destination);
  splitter.SetFileFormat(o.format);
  int32_t size = AsSize(o.fragmentSize);
  splitter.SetFragmentSize(size);
  if (o.firstSize) {
    int32_t first = AsSize(*o.firstSize);
    splitter.SetFragmentSizeAtStart(first);
  }
  splitter.SetCheckabilityEnabled(o.checkability);
  if (o.passphrase) {
    splitter.SetEncryptionKey(*o.passphrase);
  } else {
    splitter.SetUseEncryption(false);
  }
  SecureWipe(o.passphrase);
  splitter.SetRegenerateFragment(static_cast<int16_t>(o.regenerate));
}

// The passphrase typed twice at the terminal; an empty text when the two
// differ, the input ends, or there is no terminal, with the reason in `error`.
std::string AskTwice(std::string& error) {
  if (!StdinIsTerminal()) {
    error = "--ask-passphrase needs a terminal to read the passphrase from";
    return {};
  }
  std::optional<std::string> first =
      AskPassphraseAtTerminal("Security check", "Please enter the passphrase to encrypt with.");
  std::optional<std::string> second =
      first ? AskPassphraseAtTerminal("Security check", "Please enter the passphrase again.")
            : std::nullopt;
  std::string typed;
  if (!first || first->empty()) {
    error = "no passphrase was typed";
  } else if (!second || *first != *second) {
    error = "the two passphrases typed differ";
  } else {
    typed = *first;
  }
  SecureWipe(first);
  SecureWipe(second);
  return typed;
}

// The batch file's name beside the fragments. Nothing is written when it
// cannot be written safely: a name a batch line cannot carry, or a batch
// file that would be the source itself (setup.BAT split into its own
// folder; on Windows setup.bat too). Returns the exit status to end with,
// 0 to go on.
int CheckBatchFile(ActiveSplitter& splitter, const std::string& bat) {
  const std::string source = splitter.FilesToSplit().Item(1);
  const std::string name = BaseName(source);
  if (const auto unsafe = FirstUnsafeBatchCharacter(name)) {
    std::fprintf(stderr, "vtq: %s\n", BatUnsafeNameText(name, *unsafe).c_str());
    std::fputs("vtq: nothing was written\n", stderr);
    return 2;
  }
  if (SameFile(bat, source)) {
    std::fprintf(stderr,
                 "Source would be overwritten: The batch file %s would replace the file being "
                 "split. Please choose another destination folder.\n",
                 ShownText(bat).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunSplit(std::vector<std::string> args) {
  SplitOptions o;
  if (const std::string problem = ReadOptions(args, o); !problem.empty())
    return UsageError(problem);
  if (o.format != aftQuorvelle && EnvironmentPassphraseSet())
    std::fputs(kEnvironmentNotUsed, stderr);

  std::error_code ignored;
  if (!std::filesystem::is_directory(o.destination, ignored)) {
    return UsageError("the destination folder " + o.destination + " does not exist");
  }

  ConsoleHost host(o.policy);
  SplitProgress events(host.Boxes(), stdout, stderr);
  ActiveSplitter splitter(host.GetGlobals(), events);
  try {
    if (splitter.FilesToSplit().Add(o.source) != 0)
      return 1;
    Configure(splitter, o);
    const std::string bat =
        splitter.DestinationFolder() + StemOf(BaseName(splitter.FilesToSplit().Item(1))) + "BAT";
    if (o.writeBat) {
      if (const int status = CheckBatchFile(splitter, bat); status != 0)
        return status;
    }
    const int16_t count = splitter.FragsNeeded(1);
    if (o.regenerate > count) {
      std::fprintf(stderr, "vtq: the series has %d fragments; there is no fragment %lld\n", count,
                   static_cast<long long>(o.regenerate));
      return 2;
    }
    if (o.askPassphrase) {
      std::string error;
      std::string typed = AskTwice(error);
      const WipeOnExit wipe(typed);
      if (!error.empty())
        return UsageError(error);
      splitter.SetEncryptionKey(typed);
    }
    events.Expect(o.regenerate > 0 ? 1 : count);
    splitter.Split();
    if (o.writeBat && events.Complete()) {
      const std::string text = splitter.BatGen_String(1);
      if (text.empty())
        return 1;  // the generator has said why
      // Written beside its name and renamed over it, so that a link planted
      // at the name is replaced, never written through.
      WorkingFile batch(bat);
      const std::string content = text + "\r\n";
      batch.Write(content.data(), content.size());
      batch.Complete();
      std::fprintf(stdout, "%s\n", ShownText(bat).c_str());
    }
  } catch (const ProgramEndRequested&) {
    events.Abandon();
    std::fputs("vtq: split ended after an error\n", stderr);
    return 1;
  } catch (const VbError& e) {
    events.Abandon();
    std::fprintf(stderr, "vtq: error %d: %s\n", e.Number(), ShownText(e.Description()).c_str());
    return 1;
  }
  events.Summary(splitter.DestinationFolder());
  return events.Complete() && host.Boxes().CriticalShown() == 0 ? 0 : 1;
}

}  // namespace vtq::cli
