#include "app/model/disk_prompts.h"

#include <string>

namespace vtq::model {
namespace {

Prompt DiskPrompt(std::wstring text) {
  return Prompt{std::move(text), L"VazeVezazu", mb::kOkCancel | mb::kIconExclamation, std::nullopt,
                QuickCommand::kNone};
}

}  // namespace

Prompt SplitterDiskPrompt(int16_t diskNumber) {
  return DiskPrompt(L"Please insert disk " + std::to_wstring(diskNumber) + L" and click ok");
}

Prompt AssemblerDiskPrompt(int16_t diskNumber) {
  return DiskPrompt(L"Please insert the next disk (number " + std::to_wstring(diskNumber) +
                    L") and click ok");
}

}  // namespace vtq::model
