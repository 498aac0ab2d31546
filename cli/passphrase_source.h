#pragma once
// Where a command's passphrase comes from, and keeping it out of sight:
// -p PASSPHRASE (every user sees it in the process list), --passphrase-file
// FILE (its first line), or the environment variable VTQ_PASSPHRASE when
// none of the options gives one.

#include <optional>
#include <string>
#include <string_view>

#include "cli/console_host.h"

namespace vtq::cli {

inline constexpr const char* kPassphraseVariable = "VTQ_PASSPHRASE";
// The longest passphrase read from a file or the terminal: far beyond any
// typed or generated one, and a line that never ends (--passphrase-file
// /dev/zero) stops here.
inline constexpr size_t kLongestPassphrase = 4096;

// The passphrase of -p or --passphrase-file (the file's first line, its line
// end dropped); without either, VTQ_PASSPHRASE when it is set and not empty;
// nullopt otherwise. Two of -p, --passphrase-file and --ask-passphrase / -P
// together, an unreadable file or a first line longer than
// kLongestPassphrase set `error`; --ask-passphrase alone gives
// nullopt (the caller asks). The option's copy in `args` is wiped.
std::optional<std::string> PassphraseFrom(ParsedArgs& args, std::string& error);

// Whether VTQ_PASSPHRASE holds a passphrase.
bool EnvironmentPassphraseSet();

// Overwrites the value after each -p among a command's arguments (those after
// the subcommand word) in place, so that the process list stops showing it
// once the command has read its copy. Values of the other options are
// skipped; "--" ends the options.
void HidePassphraseArguments(int count, char** arguments);

}  // namespace vtq::cli
