#pragma once
// The box with which the assemble and info commands report an engine
// failure that ended them.

#include "engine/error.h"
#include "engine/platform/platform.h"

namespace vtq {

void ShowRuntimeErrorBox(const VbError& failure, MessageBoxes& boxes);

}  // namespace vtq
