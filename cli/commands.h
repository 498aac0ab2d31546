#pragma once
// The subcommands of the console front end. Each takes its own arguments
// (after the subcommand word) and returns the exit status: 0 success, 1 the
// engine reported a failure or stopped, 2 a usage error. The arguments are
// taken by value and wiped once parsed: they may hold a passphrase.

#include <string>
#include <string_view>
#include <vector>

namespace vtq::cli {

int RunSplit(std::vector<std::string> args);
int RunAssemble(std::vector<std::string> args);
int RunInfo(const std::vector<std::string>& args);
int RunVerify(std::vector<std::string> args);

// The usage and help text.
std::string_view UsageText();

}  // namespace vtq::cli
