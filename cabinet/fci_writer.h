#pragma once
// Writes a cabinet through the system's FCI (cabinet.dll): one cabinet, one
// folder, MSZIP or stored. Only those two: Wine's FCI silently stores what
// is asked for as LZX or Quantum.

#include "cabinet/pack_plan.h"

namespace vtq::cabinet {

// Raises the component's failure, after deleting whatever part of the
// cabinet was written; an exception of `progress` ends the packing the same
// way and is passed on.
void WriteCabinetWithFci(const PackPlan& plan, const PercentCallback& progress);

}  // namespace vtq::cabinet
