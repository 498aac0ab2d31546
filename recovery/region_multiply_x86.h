#pragma once
// The vector loops of the region multiply (recovery/region_multiply.h), each
// compiled for its own instruction set and taken only where the processor
// has it. Each works whole 64-byte blocks of the working layout and returns
// the bytes it did; the caller does the tail. Elsewhere than on x86 nothing
// is supported and nothing is done.

#include <cstddef>
#include <cstdint>

#include "recovery/region_multiply.h"

namespace vtq::recovery::x86 {

bool Supports(MultiplyPath path);

// `path` is kSsse3 or a wider one.
size_t ToLayout(MultiplyPath path, uint8_t* data, size_t bytes);
size_t FromLayout(MultiplyPath path, uint8_t* data, size_t bytes);

// `path` is kSsse3 or kAvx2.
size_t NibbleMultiplyAdd(MultiplyPath path, const uint8_t (*low)[16], const uint8_t (*high)[16],
                         const uint8_t* in, uint8_t* out, size_t bytes);

// `matrices`: the products' low byte from the low byte, low from high, high
// from low, high from high.
size_t AffineMultiplyAdd(const uint64_t* matrices, const uint8_t* in, uint8_t* out, size_t bytes);

}  // namespace vtq::recovery::x86
