#include "app/model/event_sounds.h"

#include <span>

#include "app/model/basic_numeric.h"
#include "app/model/shell_paths.h"

namespace vtq::model {

extern const wchar_t kDefaultSoundFile[] = L"\\chainsaw.wav";
namespace {

std::wstring SchemeKey(std::wstring_view event) {
  return L"AppEvents\\Schemes\\Apps\\Zorbikant\\" + std::wstring(event) + L"\\.Current";
}

std::wstring DefaultFileOf(std::wstring_view event, std::wstring_view programFolder) {
  if (event != kSoundSplitFile && event != kSoundAssFile)
    return {};
  std::wstring file(programFolder);
  StripTrailingBackslash(file);
  return file + std::wstring(kDefaultSoundFile);
}

}  // namespace

std::wstring EventSoundFile(settings::SettingsStore& store, std::wstring_view event,
                            std::wstring_view programFolder) {
  return store.Read(SchemeKey(event), L"", DefaultFileOf(event, programFolder));
}

bool SoundsEnabled(settings::SettingsStore& store) {
  return NumericValue(store.ReadProgram(L"UseSounds")) == 1.0;
}

void PlayEventSound(settings::SettingsStore& store, SoundPlayer& player, std::wstring_view event,
                    std::wstring_view programFolder) {
  const std::wstring file = EventSoundFile(store, event, programFolder);
  if (!SoundsEnabled(store) || file.empty())
    return;
  player.Play(file, event == kSoundProgExit);
}

bool SoundEventsRegistered(settings::SettingsStore& store) {
  const SoundSchemeEntry& check = kSoundSchemeEntries.front();
  return store.Read(check.key, L"", L"") == check.label;
}

bool RegisterSoundEvents(settings::SettingsStore& store) {
  // The check label goes last and only after the others are in place, so
  // that a registration cut short runs again at the next start.
  bool all = true;
  for (const auto& entry : std::span(kSoundSchemeEntries).subspan(1))
    all = store.Write(entry.key, L"", entry.label) && all;
  const SoundSchemeEntry& check = kSoundSchemeEntries.front();
  return all && store.Write(check.key, L"", check.label);
}

}  // namespace vtq::model
