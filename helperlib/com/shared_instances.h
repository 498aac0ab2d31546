#pragma once
// The library's module-level instances: one set of the routines' cores that
// the library's own routines share. The first object of any class creates
// the set; it is released with the last object that holds it.

#include <memory>

#include "helperlib/core/registry.h"

namespace orrin::com {

struct SharedInstances {
  // The registry core the library uses for its own entries (its help
  // registration), apart from any Regging object's last-error text.
  Registry regging;

  static std::shared_ptr<SharedInstances> Acquire();
};

// Makes the library's help file known (see help_registration.h); never
// fails, whatever cannot be written is skipped.
void RegisterLibraryHelp() noexcept;

}  // namespace orrin::com
