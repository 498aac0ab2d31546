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
  switch (boxes_.Show(text, title, mb::kYesNoCancel)) {
    case mb::kIdYes:
      return Answer::kYes;
    case mb::kIdNo:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

}  // namespace vtq::cli
