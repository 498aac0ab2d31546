#pragma once
// What a command asks the person in front of it, beyond the engine's own
// message boxes: a passphrase, a yes/no/cancel question, and the event
// sounds that mark a run. The window answers with its dialogs and the
// system's sound scheme; the console with its terminal and --yes / --no; a
// test with a script.

#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/platform.h"

namespace vtq {

enum class Answer { kYes, kNo, kCancel };

// The sound scheme's events that the commands play.
inline constexpr const char* kSoundSplitFile = "WexlorSplitfile";
inline constexpr const char* kSoundAssembleFile = "WexlorAssfile";
inline constexpr const char* kSoundDoneWork = "WexlorDonework";

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Whether a passphrase can be asked at all; a command that cannot go on
  // without one stops before it asks.
  virtual bool CanAskPassphrase() = 0;
  // The passphrase typed under `caption` and `prompt`; nullopt when the
  // person gave none (cancelled, the input ended, nobody to ask).
  virtual std::optional<std::string> AskPassphrase(std::string_view caption,
                                                   std::string_view prompt) = 0;
  virtual Answer AskYesNoCancel(std::string_view text, std::string_view title) = 0;
  virtual void PlaySound(std::string_view eventName) = 0;
};

// A yes/no/cancel question as a message box: anything but Yes or No (the
// close box, Esc) counts as Cancel.
Answer AskYesNoCancelBox(MessageBoxes& boxes, std::string_view text, std::string_view title);

}  // namespace vtq
