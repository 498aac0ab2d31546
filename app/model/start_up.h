#pragma once
// The start-up routine's bookkeeping before the main window is shown.

#include <functional>

#include "app/settings/settings_store.h"

namespace vtq::model {

struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// What the view shows while the sound events are registered (the small
// "Updating your system...." window and the hourglass); either may be empty.
struct RegistrationHooks {
  std::function<void()> begin;
  std::function<void()> end;
};

// Records the version, registers the sound events when the check label is
// not "Split file", and returns the stored language, unchecked.
int StartUp(settings::SettingsStore& store, ProgramVersion version,
            const RegistrationHooks& hooks = {});

}  // namespace vtq::model
