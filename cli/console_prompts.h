#pragma once
// The commands' questions at the console: yes/no/cancel as a box line
// answered by --yes / --no or at the terminal, the passphrase read at the
// terminal with echo off, and no event sounds.

#include "app/operations/prompts.h"
#include "engine/platform/platform.h"

namespace vtq::cli {

class ConsolePrompts : public Prompts {
 public:
  explicit ConsolePrompts(MessageBoxes& boxes) : boxes_(boxes) {}

  bool CanAskPassphrase() override;
  // nullopt without a terminal.
  std::optional<std::string> AskPassphrase(std::string_view caption,
                                           std::string_view prompt) override;
  Answer AskYesNoCancel(std::string_view text, std::string_view title) override;
  void PlaySound(std::string_view) override {}

 private:
  MessageBoxes& boxes_;
};

}  // namespace vtq::cli
