#include "app/operations/prompts.h"

namespace vtq {

Answer AskYesNoCancelBox(MessageBoxes& boxes, std::string_view text, std::string_view title) {
  switch (boxes.Show(text, title, mb::kYesNoCancel)) {
    case mb::kIdYes:
      return Answer::kYes;
    case mb::kIdNo:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

}  // namespace vtq
