#pragma once
// The window's answers to the engine's next-disk requests: the box to show
// and how its answer becomes the event's Cancel flag.

#include <cstdint>

#include "app/model/prompt.h"

namespace vtq::model {

// The splitter asks for disk `diskNumber`.
Prompt SplitterDiskPrompt(int16_t diskNumber);
// The assembler asks for the next disk, number `diskNumber`.
Prompt AssemblerDiskPrompt(int16_t diskNumber);
// Cancel is true exactly when the box was answered Cancel.
inline bool CancelledBy(int answer) {
  return answer == mb::kIdCancel;
}

}  // namespace vtq::model
