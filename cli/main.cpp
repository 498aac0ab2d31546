// vtq: the console front end to the fragment engine.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_barrier.h"
#include "cli/passphrase_source.h"
#include "engine/shown_text.h"

namespace {

int RunCommand(int argc, char** argv) {
  const std::string usage(vtq::cli::UsageText());
  if (argc < 2) {
    std::fputs(usage.c_str(), stderr);
    return 2;
  }
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  // The copy above is all the command needs; the process list (which shows
  // argv's own memory on Linux) stops showing the passphrase from here on.
  vtq::cli::HidePassphraseArguments(argc - 2, argv + 2);
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
    std::fputs(std::string(vtq::cli::HelpText(topic)).c_str(), stdout);
    return 0;
  }
  if (command == "--version" || command == "-V") {
    std::fputs(vtq::cli::VersionText().c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "vtq: unknown command '%s'\n%s", vtq::ShownText(command).c_str(),
               usage.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  return vtq::cli::ConsoleBarrier([&] { return RunCommand(argc, argv); });
}
