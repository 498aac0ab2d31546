#include "app/model/start_up.h"

#include "app/model/event_sounds.h"

namespace vtq::model {

int StartUp(settings::SettingsStore& store, ProgramVersion version,
            const RegistrationHooks& hooks) {
  store.RecordVersion(version.major, version.minor, version.revision);
  if (!SoundEventsRegistered(store)) {
    if (hooks.begin)
      hooks.begin();
    RegisterSoundEvents(store);
    if (hooks.end)
      hooks.end();
  }
  return store.ReadProgramNumber(L"Language");
}

}  // namespace vtq::model
