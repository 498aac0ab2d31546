#pragma once
// Kept for the front ends that still include the old place; the program's
// own parts live in engine/program/.
#include "engine/program/batgen.h"
