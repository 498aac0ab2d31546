#pragma once
// The events of an assembler that only reads a series (its headers, its
// fragments) and never assembles it: nothing to show, and no disk is ever
// asked for.

#include "engine/assembler.h"

namespace vtq {

class InspectionEvents : public AssemblerEvents {
 public:
  void AssembleStart(int16_t) override {}
  void AssembleInterval(int16_t) override {}
  void RequireNextDisk(int16_t, bool& cancel) override { cancel = true; }
};

}  // namespace vtq
