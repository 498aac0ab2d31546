#include "app/win/window_services.h"

#include <mmsystem.h>

// <mmsystem.h> maps PlaySound to PlaySoundA, which would rename the member
// of Prompts defined below.
#undef PlaySound

#include "app/model/shell_paths.h"
#include "app/win/passphrase_dialog.h"
#include "base/utf8_text.h"
#include "base/win/wide_path.h"

namespace vtq::app {
namespace {

DWORD AttributesOf(std::wstring_view path) {
  return GetFileAttributesW(base::win::LongPathForm(path).c_str());
}

}  // namespace

bool WindowPaths::Exists(std::wstring_view path) {
  return !path.empty() && AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool WindowPaths::IsFolder(std::wstring_view path) {
  if (path.empty())
    return false;
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WindowPaths::DiskRemovable(std::wstring_view folder) {
  return globals_.DiskRemovable(base::ToUtf8(folder.substr(0, 2)));
}

void SystemSoundPlayer::Play(std::wstring_view file, bool synchronous) {
  const std::wstring name(file);
  PlaySoundW(name.c_str(), nullptr, synchronous ? 0 : SND_ASYNC);
}

std::optional<std::string> WindowPrompts::AskPassphrase(std::string_view caption,
                                                        std::string_view) {
  // The dialog knows its two texts; the caption says which it is asked for.
  const auto confirm = model::PassphraseDialogFor(model::PassphraseMode::kConfirm);
  const PassphraseAsk ask =
      base::FromUtf8(caption) == confirm.title ? PassphraseAsk::kConfirm : PassphraseAsk::kCheck;
  PassphraseDialog dialog(instance_, ask, store_.Theme());
  std::optional<std::wstring> typed = dialog.Ask(owner_);
  if (!typed)
    return std::nullopt;
  std::string passphrase = base::ToUtf8(*typed);
  SecureZeroMemory(typed->data(), typed->size() * sizeof(wchar_t));
  return passphrase;
}

Answer WindowPrompts::AskYesNoCancel(std::string_view text, std::string_view title) {
  return AskYesNoCancelBox(boxes_, text, title);
}

void WindowPrompts::PlaySound(std::string_view eventName) {
  model::PlayEventSound(store_, player_, base::FromUtf8(eventName), programFolder_);
}

}  // namespace vtq::app
