#pragma once
// Verify's verdict on a series in words a person reads at a glance: what
// is sound, what is missing or damaged, and what the recovery files can
// rebuild. The window shows it in its "Verify" box, the control's recovery
// class as its verdict.

#include <string>

#include "app/operations/series_recovery.h"

namespace vtq {

struct VerifyBox {
  std::string text;
  bool sound = false;
  // Fragments at fault, each once: missing when its first finding says so.
  int missing = 0;
  int damaged = 0;
};
VerifyBox VerifyBoxFor(const SeriesVerification& verification);

}  // namespace vtq
