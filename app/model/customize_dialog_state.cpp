#include "app/model/customize_dialog_state.h"

#include "app/model/captions.h"
#include "app/model/themes.h"

namespace vtq::model {
namespace {

constexpr std::string_view kDefaultsQuestion =
    "The current program settings will be stored as the default right now. This will cause the "
    "default fragment size and other settings to start up as they are now, next time you load the "
    "program. Are you sure you wish to continue?";
constexpr std::string_view kPassphraseQuestion =
    "Would you like your current encryption settings (including passphrase) to be saved as the "
    "default? Warning: Your passphrase will be stored as plain text if you select yes.";

int LanguageOrEnglishUs(int language) {
  return language < 0 || language > 2 ? 0 : language;
}

std::wstring_view SizeModeName(SizeModeChoice mode) {
  switch (mode) {
    case SizeModeChoice::kPreset:
      return L"Preset";
    case SizeModeChoice::kAutofill:
      return L"Autofill";
    case SizeModeChoice::kCustom:
      break;
  }
  return L"Custom";
}

}  // namespace

CustomizeDialogState::CustomizeDialogState(settings::SettingsStore& store, MessageBoxes& boxes,
                                           int currentLanguage)
    : store_(store),
      boxes_(boxes),
      currentLanguage_(currentLanguage),
      theme_(store.Theme()),
      language_(LanguageOrEnglishUs(currentLanguage)),
      sounds_(store.ReadProgramNumber(L"UseSounds") == 1) {}

const std::vector<std::wstring>& CustomizeDialogState::ThemeNames() {
  static const std::vector<std::wstring> names = [] {
    std::vector<std::wstring> all;
    for (const model::Theme& theme : kThemes)
      all.emplace_back(theme.name);
    return all;
  }();
  return names;
}

const std::vector<std::wstring>& CustomizeDialogState::LanguageNames() {
  static const std::vector<std::wstring> names = {L"English US", L"Vreaky", L"English UK"};
  return names;
}

std::wstring CustomizeDialogState::ThemeDescription(int theme) {
  if (theme < 0 || theme >= static_cast<int>(kThemes.size()))
    return {};
  return std::wstring(kThemes[static_cast<size_t>(theme)].description);
}

std::wstring CustomizeDialogState::ThemeLabel() const {
  return currentLanguage_ == kLanguageEnglishUk ? L"Colour theme:" : L"Color theme:";
}

std::wstring CustomizeDialogState::Description() const {
  std::wstring text = ThemeDescription(theme_);
  if (language_ == kLanguageVreaky)
    text += kVreakyThemeNote;
  return text;
}

int CustomizeDialogState::Save() {
  const int language = LanguageOrEnglishUs(language_);
  store_.WriteProgram(L"Theme", int64_t{theme_});
  store_.WriteProgram(L"Language", int64_t{language_});
  store_.WriteProgramFlag(L"UseSounds", sounds_);
  currentLanguage_ = language;
  return language;
}

void CustomizeDialogState::StoreDefaults(const MainWindowDefaults& window) {
  if (boxes_.Show(kDefaultsQuestion, "Are you sure?", mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
    return;
  store_.WriteProgramFlag(L"UseCompression", window.useCompression);
  store_.WriteProgramFlag(L"UseBATGen", window.saveBat);

  const bool storePassphrase =
      window.useEncryption &&
      boxes_.Show(kPassphraseQuestion, "Store default passphrase?",
                  mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2) == mb::kIdYes;
  if (storePassphrase) {
    store_.WriteProgramFlag(L"UseEncryption", window.useEncryption);
    store_.WriteProgram(L"DefaultPassphrase", window.passphrase);
  } else {
    store_.WriteProgram(L"UseEncryption", L"0");
    store_.RemoveProgram(L"DefaultPassphrase");
  }

  store_.WriteProgram(L"CustomSize", window.customSize);
  store_.WriteProgram(L"CustomSizeUnits", int64_t{window.customSizeUnits});
  store_.WriteProgramFlag(L"MultiSizeEnabled", window.firstOverride);
  store_.WriteProgram(L"MultiSizeValue", window.firstOverrideValue);
  store_.WriteProgram(L"MultiSizeUnits", int64_t{window.firstOverrideUnits});
  store_.WriteProgram(L"FragSizePreset", int64_t{window.presetPosition});
  store_.WriteProgram(L"FragSizeMode", SizeModeName(window.sizeMode));
  store_.WriteProgramFlag(L"UseRecovery", window.useRecovery);
  store_.WriteProgram(L"RecoveryPercent", window.recoveryPercent);

  boxes_.Show("Saved settings successfully!", "Done", mb::kOk | mb::kIconInformation);
}

}  // namespace vtq::model
