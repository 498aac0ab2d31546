#pragma once
// Small text routines of the shell on paths, and the passphrase dialog's
// two modes.

#include <string>
#include <string_view>

namespace vtq::model {

// Removes one trailing "\" in place; any other text stays as it is.
void StripTrailingBackslash(std::wstring& path);
void StripTrailingBackslash(std::string& path);

// The last three characters in lower case (the whole text when shorter):
// how a series' first fragment ("001") and a cabinet ("cab") are told.
std::wstring LastThreeLowered(std::wstring_view path);

enum class PassphraseMode { kConfirm, kCheck };

struct PassphraseDialogText {
  std::wstring_view title;
  std::wstring_view prompt;
};

// Confirm before a split; check when assembling an encrypted series.
PassphraseDialogText PassphraseDialogFor(PassphraseMode mode);

}  // namespace vtq::model
