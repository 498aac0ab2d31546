// vtq split: one source file into a fragment series through ActiveSplitter.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/split_events.h"
#include "engine/error_trap.h"
#include "engine/file_io.h"
#include "engine/path.h"
#include "engine/splitter.h"

namespace vtq::cli {
namespace {

constexpr int32_t kDefaultFragmentSize = aftHighDensity;

struct SplitOptions {
  std::string source;
  std::string destination;
  int64_t fragmentSize = kDefaultFragmentSize;
  std::optional<int64_t> firstSize;
  AftFileFormat format = aftQuorvelle;
  bool checkability = false;
  std::optional<std::string> passphrase;
  int64_t regenerate = 0;
  bool writeBat = false;
  AnswerPolicy policy = AnswerPolicy::kAsk;
};

// Usage errors return the message; an empty text means the options are good.
std::string ReadOptions(const std::vector<std::string>& args, SplitOptions& o) {
  const ParsedArgs parsed =
      ParseArgs(args, {"-d", "-s", "--first-size", "-f", "-p", "--passphrase-file", "--regen"},
                {"-c", "--bat", "--yes", "--no"});
  if (!parsed.error.empty())
    return parsed.error;
  if (parsed.positionals.size() != 1)
    return "split takes exactly one SOURCE";
  o.source = parsed.positionals.front();
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
  o.passphrase = PassphraseFrom(parsed, error);
  if (!error.empty())
    return error;
  if (o.passphrase && o.passphrase->empty())
    return "an empty passphrase cannot encrypt";
  return {};
}

// Sizes beyond 32 bits are clamped by the splitter like any other.
int32_t AsSize(int64_t bytes) {
  return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

void Configure(ActiveSplitter& splitter, const SplitOptions& o) {
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
  splitter.SetRegenerateFragment(static_cast<int16_t>(o.regenerate));
}

}  // namespace

int RunSplit(const std::vector<std::string>& args) {
  SplitOptions o;
  if (const std::string problem = ReadOptions(args, o); !problem.empty())
    return UsageError(problem);

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
    const int16_t count = splitter.FragsNeeded(1);
    if (o.regenerate > count) {
      std::fprintf(stderr, "vtq: the series has %d fragments; there is no fragment %lld\n", count,
                   static_cast<long long>(o.regenerate));
      return 2;
    }
    events.Expect(o.regenerate > 0 ? 1 : count);
    splitter.Split();
    if (o.writeBat && events.Complete()) {
      const std::string bat =
          splitter.DestinationFolder() + StemOf(BaseName(splitter.FilesToSplit().Item(1))) + "BAT";
      const std::string text = splitter.BatGen_String(1) + "\r\n";
      File(bat, File::Mode::kReplace).Write(text.data(), text.size());
      std::fprintf(stdout, "%s\n", bat.c_str());
    }
  } catch (const ProgramEndRequested&) {
    events.Abandon();
    std::fputs("vtq: split ended after an error\n", stderr);
    return 1;
  } catch (const VbError& e) {
    events.Abandon();
    std::fprintf(stderr, "vtq: error %d: %s\n", e.Number(), e.Description().c_str());
    return 1;
  }
  events.Summary(splitter.DestinationFolder());
  return events.Complete() && host.Boxes().CriticalShown() == 0 ? 0 : 1;
}

}  // namespace vtq::cli
