#pragma once
// Reads a passphrase at the terminal without echoing it.

#include <optional>
#include <string>
#include <string_view>

namespace vtq::cli {

bool StdinIsTerminal();
// Shows "caption: prompt" on standard error and reads one line from the
// terminal with echo off; nullopt at the end of input.
std::optional<std::string> AskPassphraseAtTerminal(std::string_view caption,
                                                   std::string_view prompt);

}  // namespace vtq::cli
