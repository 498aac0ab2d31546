#include "app/settings/settings_store.h"

#include <array>
#include <cwctype>
#include <utility>

#include "app/settings/setting_number.h"
#include "base/utf8_text.h"
#include "engine/program/batgen.h"

namespace vtq::settings {

using base::FromUtf8;
using base::ToUtf8;

namespace {

struct ProgramDefault {
  std::wstring_view name;
  std::wstring_view value;
};

// Every option of the program key with its default, in the order the main
// window reads them. "BATGenIText" takes the batch generator's text.
constexpr std::array<ProgramDefault, 17> kDefaults = {{
    {L"Language", L"0"},
    {L"UseSounds", L"1"},
    {L"UseCompression", L"0"},
    {L"UseBATGen", L"0"},
    {L"UseEncryption", L"0"},
    {L"DefaultPassphrase", L""},
    {L"CustomSize", L"1423"},
    {L"CustomSizeUnits", L"1"},
    {L"MultiSizeEnabled", L"0"},
    {L"MultiSizeValue", L"0"},
    {L"MultiSizeUnits", L"5"},
    {L"FragSizePreset", L"1"},
    {L"FragSizeMode", L"Preset"},
    {L"UseRecovery", L"0"},
    {L"RecoveryPercent", L"10"},
    {L"BATGenDecomp", L"1"},
    {L"BATGenDelCabs", L"0"},
}};

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i]))
      return false;
  }
  return true;
}

std::wstring AppKey(std::wstring_view application, std::wstring_view section) {
  std::wstring key(kAppSettingsRoot);
  key.append(L"\\").append(application).append(L"\\").append(section);
  return key;
}

}  // namespace

std::optional<std::wstring> SettingsStore::DefaultOf(std::wstring_view valueName) {
  if (SameName(valueName, L"BATGenIText"))
    return FromUtf8(kDefaultBatIntroText);
  for (const auto& entry : kDefaults) {
    if (SameName(valueName, entry.name))
      return std::wstring(entry.value);
  }
  return std::nullopt;
}

std::wstring SettingsStore::Read(std::wstring_view keyPath, std::wstring_view valueName,
                                 std::wstring_view defaultValue) {
  if (auto text = values_.Find(keyPath, valueName))
    return std::move(*text);
  return std::wstring(defaultValue);
}

bool SettingsStore::Write(std::wstring_view keyPath, std::wstring_view valueName,
                          std::wstring_view value) {
  return values_.Write(keyPath, valueName, value);
}

bool SettingsStore::Write(std::wstring_view keyPath, std::wstring_view valueName, int64_t value) {
  return values_.Write(keyPath, valueName, std::to_wstring(value));
}

bool SettingsStore::Remove(std::wstring_view keyPath, std::wstring_view valueName) {
  return values_.Remove(keyPath, valueName);
}

std::wstring SettingsStore::ReadAppSetting(std::wstring_view application, std::wstring_view section,
                                           std::wstring_view key, std::wstring_view defaultValue) {
  return Read(AppKey(application, section), key, defaultValue);
}

bool SettingsStore::WriteAppSetting(std::wstring_view application, std::wstring_view section,
                                    std::wstring_view key, std::wstring_view value) {
  return Write(AppKey(application, section), key, value);
}

std::wstring SettingsStore::ReadProgram(std::wstring_view valueName) {
  if (SameName(valueName, L"Theme")) {
    return Read(
        kProgramKey, valueName,
        ReadAppSetting(kApplicationName, L"Settings", L"Theme", std::to_wstring(kDefaultTheme)));
  }
  return Read(kProgramKey, valueName, DefaultOf(valueName).value_or(L""));
}

int32_t SettingsStore::ReadProgramNumber(std::wstring_view valueName) {
  return SettingNumber(ReadProgram(valueName));
}

bool SettingsStore::WriteProgram(std::wstring_view valueName, std::wstring_view value) {
  return Write(kProgramKey, valueName, value);
}

bool SettingsStore::WriteProgram(std::wstring_view valueName, int64_t value) {
  return Write(kProgramKey, valueName, value);
}

bool SettingsStore::WriteProgramFlag(std::wstring_view valueName, bool checked) {
  return Write(kProgramKey, valueName, checked ? L"1" : L"0");
}

bool SettingsStore::RemoveProgram(std::wstring_view valueName) {
  return Remove(kProgramKey, valueName);
}

bool SettingsStore::HasProgramValue(std::wstring_view valueName) {
  return values_.Find(kProgramKey, valueName).has_value();
}

int SettingsStore::Theme() {
  const int32_t theme = ReadProgramNumber(L"Theme");
  return theme < 0 || theme > 4 ? kDefaultTheme : theme;
}

bool SettingsStore::RecordVersion(int major, int minor, int revision) {
  const std::wstring version =
      std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
  return WriteAppSetting(kApplicationName, L"Installation", L"Version", version);
}

std::optional<std::string> StoreSettingsSource::ReadProgramSetting(std::string_view valueName) {
  const std::wstring name = FromUtf8(valueName);
  if (SettingsStore::DefaultOf(name) || SameName(name, L"Theme")) {
    return ToUtf8(store_.ReadProgram(name));
  }
  if (!store_.HasProgramValue(name))
    return std::nullopt;
  return ToUtf8(store_.ReadProgram(name));
}

}  // namespace vtq::settings
