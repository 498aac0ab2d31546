// vtq: the console front end to the fragment engine.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: vtq split SOURCE -d DIR [-s BYTES] [--first-size BYTES] [-f own|raw|old] [-c]\n"
    "                 [-p PASSPHRASE | --passphrase-file FILE] [--regen N] [--bat] [--yes|--no]\n"
    "       vtq assemble FIRST -d DIR [-p PASSPHRASE | --passphrase-file FILE]\n"
    "                 [--unknown-as raw|old] [--yes|--no]\n"
    "       vtq info FRAGMENT [--unknown-as raw|old]\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "split")
    return vtq::cli::RunSplit(args);
  if (command == "assemble")
    return vtq::cli::RunAssemble(args);
  if (command == "info")
    return vtq::cli::RunInfo(args);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "vtq: unknown command '%s'\n%s", command.c_str(), kUsage);
  return 2;
}
