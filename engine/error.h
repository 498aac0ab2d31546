#pragma once
// The engine's errors: the one error type of base/ and the sources and
// numbers only the engine raises.

#include "base/vb_error.h"

namespace vtq {

// The assembler's errors, its header reader's included, carry its name.
inline constexpr const char* kAssemblerSource = "ActiveAssembler";
// The assembler's refusal of a fragment whose check digits do not match.
inline constexpr int32_t kCheckabilityFailed = err::kObjectErrorBase + 2001;  // -2147219503

}  // namespace vtq
