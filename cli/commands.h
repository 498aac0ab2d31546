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
int RunRepair(std::vector<std::string> args);

// The usage and help text of vtq as a whole, and each command's own.
std::string_view UsageText();
std::string_view SplitHelp();
std::string_view AssembleHelp();
std::string_view InfoHelp();
std::string_view VerifyHelp();
std::string_view RepairHelp();
// The help of the command named `command`; the usage text for any other.
std::string_view HelpText(std::string_view command);
// "vtq (Vantrelloquin) " and the build's version.
std::string VersionText();

}  // namespace vtq::cli
