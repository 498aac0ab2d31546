#pragma once
// What the main window asks or tells the user: one message box the view
// shows as given, with the control that takes the focus afterwards and, for
// a quick-action question, the command that the answer Yes runs.

#include <optional>
#include <string>

#include "app/model/controls.h"
#include "engine/platform/platform.h"

namespace vtq::model {

// The commands a quick action (command line or drop) offers to run at once.
enum class QuickCommand { kNone, kSplit, kAssemble, kMakeCab };

struct Prompt {
  std::wstring text;
  std::wstring title;
  unsigned style = mb::kOk;  // buttons | icon | default button, as mb:: values
  // Where the focus goes once the box is closed; nullopt leaves it alone.
  std::optional<Control> focus;
  // Run when the answer is Yes (quick actions only).
  QuickCommand onYes = QuickCommand::kNone;
};

// A critical-icon box with OK that sends the focus back to `field`.
Prompt FieldError(std::wstring text, std::wstring title, Control field);
// A Yes/No question with the question icon and No as default button.
Prompt QuickQuestion(std::wstring text, std::wstring title, QuickCommand onYes);

}  // namespace vtq::model
