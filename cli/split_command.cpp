#include <cstdio>

#include "cli/commands.h"

namespace vtq::cli {

int RunSplit(const std::vector<std::string>&) {
  std::fputs("vtq: this command is not available in this build\n", stderr);
  return 2;
}

}  // namespace vtq::cli
