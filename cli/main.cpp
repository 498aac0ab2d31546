// vtq: the console front end to the fragment engine.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_barrier.h"
#include "cli/console_text.h"
#include "cli/passphrase_source.h"
#include "engine/shown_text.h"

#ifdef _WIN32
#include "base/utf8_text.h"
#endif

namespace {

int Run(std::vector<std::string> arguments) {
  using vtq::cli::PrintText;
  using vtq::cli::WriteText;
  const std::string usage(vtq::cli::UsageText());
  if (arguments.size() < 2) {
    WriteText(stderr, usage);
    return 2;
  }
  const std::string command = arguments[1];
  std::vector<std::string> args(arguments.begin() + 2, arguments.end());
  if (command == "split")
    return vtq::cli::RunSplit(std::move(args));
  if (command == "assemble")
    return vtq::cli::RunAssemble(std::move(args));
  if (command == "info")
    return vtq::cli::RunInfo(args);
  if (command == "verify")
    return vtq::cli::RunVerify(std::move(args));
  if (command == "repair")
    return vtq::cli::RunRepair(std::move(args));
  if (command == "--help" || command == "-h" || command == "help") {
    // "vtq help split" is "vtq split --help".
    const std::string topic = command == "help" && !args.empty() ? args[0] : std::string();
    WriteText(stdout, vtq::cli::HelpText(topic));
    return 0;
  }
  if (command == "--version" || command == "-V") {
    WriteText(stdout, vtq::cli::VersionText());
    return 0;
  }
  PrintText(stderr, "vtq: unknown command '%s'\n%s", vtq::ShownText(command).c_str(),
            usage.c_str());
  return 2;
}

}  // namespace

#ifdef _WIN32
// The wide arguments: the narrow ones are in the ANSI code page, where a
// name outside it has already become "?".
int wmain(int argc, wchar_t** argv) {
  return vtq::cli::ConsoleBarrier([&] {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
      arguments.push_back(vtq::base::ToUtf8(argv[i]));
    return Run(std::move(arguments));
  });
}
#else
int main(int argc, char** argv) {
  return vtq::cli::ConsoleBarrier([&] {
    std::vector<std::string> arguments(argv, argv + argc);
    // The copy above is all the command needs; the process list (which
    // shows argv's own memory on Linux) stops showing the passphrase from
    // here on.
    if (argc > 2)
      vtq::cli::HidePassphraseArguments(argc - 2, argv + 2);
    return Run(std::move(arguments));
  });
}
#endif
