#pragma once
// The program's persistent options: the program key
// HKEY_CURRENT_USER\Software\Quorvelle\Vantrelloquin, every option a named
// text value with a default, and the per-user application settings under
// "Software\VB and VBA Program Settings\<application>\<section>". A missing
// key or value is never an error: reads give the default and create nothing.
// Writes report failure by their result and leave the description in
// LastError(); the program shows no message for them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings/registry_values.h"
#include "engine/platform/platform.h"

namespace vtq::settings {

inline constexpr std::wstring_view kProgramKey = L"Software\\Quorvelle\\Vantrelloquin";
inline constexpr std::wstring_view kApplicationName = L"Quorvelle Vantrelloquin";
inline constexpr std::wstring_view kAppSettingsRoot = L"Software\\VB and VBA Program Settings";
inline constexpr int kDefaultTheme = 1;

class SettingsStore {
 public:
  explicit SettingsStore(RegistryValues& values) : values_(values) {}

  // Any key path below HKEY_CURRENT_USER.
  std::wstring Read(std::wstring_view keyPath, std::wstring_view valueName,
                    std::wstring_view defaultValue);
  bool Write(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view value);
  bool Write(std::wstring_view keyPath, std::wstring_view valueName, int64_t value);
  bool Remove(std::wstring_view keyPath, std::wstring_view valueName);

  // Application settings: application, section, key.
  std::wstring ReadAppSetting(std::wstring_view application, std::wstring_view section,
                              std::wstring_view key, std::wstring_view defaultValue);
  bool WriteAppSetting(std::wstring_view application, std::wstring_view section,
                       std::wstring_view key, std::wstring_view value);

  // The program key, with each value's own default ("" for names it does
  // not know).
  std::wstring ReadProgram(std::wstring_view valueName);
  // The same converted to a whole number (leading number, rounded).
  int32_t ReadProgramNumber(std::wstring_view valueName);
  bool WriteProgram(std::wstring_view valueName, std::wstring_view value);
  bool WriteProgram(std::wstring_view valueName, int64_t value);
  // A check-box state, stored as "1" or "0".
  bool WriteProgramFlag(std::wstring_view valueName, bool checked);
  bool RemoveProgram(std::wstring_view valueName);
  // Whether the program key holds the value at all.
  bool HasProgramValue(std::wstring_view valueName);

  // The colour theme 0..4: the program key's "Theme", defaulting to the
  // application setting "Settings"/"Theme" (itself defaulting to 1); a
  // number out of range gives 1.
  int Theme();
  // Written at every start: "Installation"/"Version" = "major.minor.revision".
  bool RecordVersion(int major, int minor, int revision);

  std::wstring LastError() const { return values_.LastError(); }

  // The default of a program-key value; nullopt for names it does not know
  // and for "Theme" (whose default is the application setting).
  static std::optional<std::wstring> DefaultOf(std::wstring_view valueName);

 private:
  RegistryValues& values_;
};

// The engine's view of the store: the batch generator's settings, in the
// ANSI code page, each with its default when it is not stored.
class StoreSettingsSource final : public SettingsSource {
 public:
  explicit StoreSettingsSource(SettingsStore& store) : store_(store) {}
  std::optional<std::string> ReadProgramSetting(std::string_view valueName) override;

 private:
  SettingsStore& store_;
};

}  // namespace vtq::settings
