#include "cli/console_prompts.h"

#include "cli/passphrase_prompt.h"

namespace vtq::cli {

bool ConsolePrompts::CanAskPassphrase() {
  return StdinIsTerminal();
}

std::optional<std::string> ConsolePrompts::AskPassphrase(std::string_view caption,
                                                         std::string_view prompt) {
  if (!StdinIsTerminal())
    return std::nullopt;
  return AskPassphraseAtTerminal(caption, prompt);
}

Answer ConsolePrompts::AskYesNoCancel(std::string_view text, std::string_view title) {
  return AskYesNoCancelBox(boxes_, text, title);
}

}  // namespace vtq::cli
