#include "cli/console_prompts.h"

#include "app/operations/assemble_operation.h"
#include "cli/passphrase_prompt.h"
#include "engine/shown_text.h"

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
  if (!boxes_.CanAnswer()) {
    unasked_ = true;
    if (title == kUnknownFormatTitle) {
      boxes_.Note("cannot tell whether " + ShownText(firstFragment_) +
                  " is raw data or in the older format, and there is no terminal to ask: give "
                  "--unknown-as raw or --unknown-as old");
      return Answer::kCancel;
    }
  }
  return AskYesNoCancelBox(boxes_, text, title);
}

}  // namespace vtq::cli
