#pragma once
// Verify's verdict on a series in words a person reads at a glance: what
// is sound, what is missing or damaged, and what the recovery files can
// rebuild. The window shows it in its "Verify" box, the control's recovery
// class as its verdict.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/operations/series_recovery.h"

namespace vtq {

struct VerifyBox {
  std::string text;
  bool sound = false;
  // Fragments at fault, each once: missing when its first finding says so.
  int missing = 0;
  int damaged = 0;
  // The recovery files can rebuild every fragment at fault (there are some).
  bool repairable = false;
  // How many more lost fragments they could rebuild after that; 0 when
  // they cannot rebuild what is lost.
  uint64_t moreRebuildable = 0;
};
// `repairAdvice` tells how to have the repair made where the series can be
// repaired: the window's words differ from a script's.
VerifyBox VerifyBoxFor(const SeriesVerification& verification,
                       std::string_view repairAdvice = "assemble the series and accept the repair");

}  // namespace vtq
