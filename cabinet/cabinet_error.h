#pragma once
// The cabinet component's one failure: the object-error base plus 1000, with
// a description the program shows as it is.

#include <cstdint>
#include <string>

#include "engine/error.h"

namespace vtq::cabinet {

inline constexpr int32_t kCabinetFailure = err::kObjectErrorBase + 1000;  // 0x800403E8
inline constexpr const char* kCompressorSource = "Compressor";
inline constexpr const char* kExtractorSource = "Extractor";

[[noreturn]] void RaiseCabinetFailure(const char* source, std::string description);

// "name" in double quotes, for descriptions that name a file or an entry.
std::string Quoted(const std::string& name);

}  // namespace vtq::cabinet
