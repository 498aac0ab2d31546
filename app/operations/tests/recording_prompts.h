#pragma once
// Doubles for the operations: prompts that answer from scripts and record
// what was asked and played, and an assembly watcher that gives up at every
// disk request and counts how often a run ended.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/operations/assemble_operation.h"
#include "app/operations/prompts.h"

namespace vtq::test {

class RecordingPrompts : public Prompts {
 public:
  bool canAsk = true;
  // Taken in order; none left: nothing typed, the question cancelled.
  std::deque<std::optional<std::string>> passphrases;
  std::deque<Answer> answers;

  std::vector<std::string> asked;  // "caption|prompt" or "title|text"
  std::vector<std::string> sounds;

  bool CanAskPassphrase() override { return canAsk; }
  std::optional<std::string> AskPassphrase(std::string_view caption,
                                           std::string_view prompt) override {
    asked.push_back(std::string(caption) + "|" + std::string(prompt));
    if (passphrases.empty())
      return std::nullopt;
    auto typed = passphrases.front();
    passphrases.pop_front();
    return typed;
  }
  Answer AskYesNoCancel(std::string_view text, std::string_view title) override {
    asked.push_back(std::string(title) + "|" + std::string(text));
    if (answers.empty())
      return Answer::kCancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void PlaySound(std::string_view eventName) override { sounds.emplace_back(eventName); }
};

class CountingWatcher : public AssembleWatcher {
 public:
  void AssembleStart(int16_t) override {
    if (onStart)
      onStart();
  }
  void AssembleInterval(int16_t) override {}
  void RequireNextDisk(int16_t, bool& cancel) override { cancel = true; }
  void RunEnded() override { ++ended; }
  int ended = 0;
  std::function<void()> onStart;
};

}  // namespace vtq::test
