#pragma once
// The program's event sounds: which wave file an event plays, under the
// "UseSounds" switch, and the entries that make the events known to the
// system's sound scheme (all under HKEY_CURRENT_USER).

#include <array>
#include <string>
#include <string_view>

#include "app/settings/settings_store.h"

namespace vtq::model {

inline constexpr std::wstring_view kSoundProgLoad = L"WexlorProgload";
inline constexpr std::wstring_view kSoundProgExit = L"WexlorProgexit";
inline constexpr std::wstring_view kSoundSplitFile = L"WexlorSplitfile";
inline constexpr std::wstring_view kSoundAssFile = L"WexlorAssfile";
inline constexpr std::wstring_view kSoundCompress = L"WexlorCompress";
inline constexpr std::wstring_view kSoundExtract = L"WexlorExtract";
inline constexpr std::wstring_view kSoundDoneWork = L"WexlorDonework";

// The file split and assemble play when the scheme has no entry for them,
// joined to the program's folder.
extern const wchar_t kDefaultSoundFile[];

struct SoundSchemeEntry {
  std::wstring_view key;
  std::wstring_view label;  // the key's default value
};

// The first one is the check made at every start; the others are written
// before it.
inline constexpr std::array<SoundSchemeEntry, 6> kSoundSchemeEntries = {{
    {L"AppEvents\\EventLabels\\WexlorSplitfile", L"Split file"},
    {L"AppEvents\\EventLabels\\WexlorAssfile", L"Assemble file"},
    {L"AppEvents\\EventLabels\\WexlorProgload", L"Start Vantrelloquin"},
    {L"AppEvents\\EventLabels\\WexlorProgexit", L"Exit Vantrelloquin"},
    {L"AppEvents\\EventLabels\\WexlorDonework", L"Finished task"},
    {L"AppEvents\\Schemes\\Apps\\Zorbikant", L"Quorvelle Vantrelloquin"},
}};

// Plays a wave file; the view's realisation calls PlaySoundW.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Synchronous playback returns only when the sound has ended.
  virtual void Play(std::wstring_view file, bool synchronous) = 0;
};

// The file assigned to an event, or its default when the scheme has no
// entry (an entry set to nothing stays empty). `programFolder` may end in "\".
std::wstring EventSoundFile(settings::SettingsStore& store, std::wstring_view event,
                            std::wstring_view programFolder);
// "UseSounds" (default "1") has the numeric value 1 exactly.
bool SoundsEnabled(settings::SettingsStore& store);
// Plays the event's file when sounds are on and there is a file; only the
// exit sound plays synchronously.
void PlayEventSound(settings::SettingsStore& store, SoundPlayer& player, std::wstring_view event,
                    std::wstring_view programFolder);

// The check label holds exactly "Split file".
bool SoundEventsRegistered(settings::SettingsStore& store);
// Writes the six entries, the check label last and only when the other
// five were written; false when any write failed (the failure is not
// reported to the user, and the next start registers again).
bool RegisterSoundEvents(settings::SettingsStore& store);

}  // namespace vtq::model
