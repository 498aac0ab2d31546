#pragma once
// The commands' questions at the console: yes/no/cancel as a box line
// answered by --yes / --no or at the terminal, the passphrase read at the
// terminal with echo off, and no event sounds.

#include <string>
#include <utility>

#include "app/operations/prompts.h"
#include "cli/console_host.h"

namespace vtq::cli {

class ConsolePrompts : public Prompts {
 public:
  // `firstFragment` names the series an assembly asks about.
  explicit ConsolePrompts(ConsoleBoxes& boxes, std::string firstFragment = {})
      : boxes_(boxes), firstFragment_(std::move(firstFragment)) {}

  bool CanAskPassphrase() override;
  // nullopt without a terminal.
  std::optional<std::string> AskPassphrase(std::string_view caption,
                                           std::string_view prompt) override;
  // The unknown-format question that nobody can answer is not printed: a
  // line names the option that answers it, and the answer is Cancel.
  Answer AskYesNoCancel(std::string_view text, std::string_view title) override;
  void PlaySound(std::string_view) override {}

  // Whether a question went unasked for want of a terminal and an option.
  bool QuestionUnasked() const { return unasked_; }

 private:
  ConsoleBoxes& boxes_;
  std::string firstFragment_;
  bool unasked_ = false;
};

}  // namespace vtq::cli
