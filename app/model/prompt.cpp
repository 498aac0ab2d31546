#include "app/model/prompt.h"

#include <utility>

namespace vtq::model {

Prompt FieldError(std::wstring text, std::wstring title, Control field) {
  return Prompt{std::move(text), std::move(title), mb::kOk | mb::kIconCritical, field,
                QuickCommand::kNone};
}

Prompt QuickQuestion(std::wstring text, std::wstring title, QuickCommand onYes) {
  return Prompt{std::move(text), std::move(title),
                mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2, std::nullopt, onYes};
}

}  // namespace vtq::model
