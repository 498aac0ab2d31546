#pragma once
// The subcommands of the console front end. Each takes its own arguments
// (after the subcommand word) and returns the exit status: 0 success, 1 the
// engine reported a failure or stopped, 2 a usage error.

#include <string>
#include <vector>

namespace vtq::cli {

int RunSplit(const std::vector<std::string>& args);
int RunAssemble(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);

}  // namespace vtq::cli
