#pragma once
// Which recovery slices give back the lost input slices, and how. Recovery
// slice e holds the sum over the inputs of constant_i^e times input i, so
// the m lost inputs solve m of those equations; but PAR 2.0's matrix is not
// invertible for every choice of lost slices and exponents (with 129 or
// more input slices, slices 1 and 129 lost, exponents 0 and 257 give two
// equal rows, since 2^(257 * 255) = 1). Recovery slices are therefore taken
// in one by one, each kept only when it tells something the ones before it
// do not, until m are independent.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "recovery/gf16.h"

namespace vtq::recovery {

struct LostSliceSolution {
  // The recovery slices used, as indexes into the exponents given, in the
  // order of the inverse's columns.
  std::vector<size_t> used;
  // m x m, row by row: lost input k is the sum over j of inverse[k * m + j]
  // times (recovery slice used[j] less what the sound inputs put in it).
  std::vector<Gf16> inverse;
};

// `lost`: the constants of the lost inputs; `exponents`: those of the sound
// recovery slices, tried in that order. Nothing when no m of them are
// independent.
std::optional<LostSliceSolution> SolveLostSlices(std::span<const Gf16> lost,
                                                 std::span<const uint32_t> exponents);

}  // namespace vtq::recovery
