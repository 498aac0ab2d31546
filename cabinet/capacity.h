#pragma once
// What one cabinet can hold: its sizes and offsets are 32-bit and signed in
// practice, and its file count 16-bit. Checked on the sources before any
// byte is written, so that a cabinet is never cut short.

#include <cstdint>
#include <string>

namespace vtq::cabinet {

inline constexpr uint64_t kCabinetByteLimit = 0x7FFFFFFF;
inline constexpr uint64_t kCabinetFileLimit = 0xFFFF;

struct PackedSources {
  uint64_t fileCount = 0;
  uint64_t totalBytes = 0;
  uint64_t nameBytes = 0;  // the stored names' lengths, without terminators
};

// The largest cabinet the sources can make, compressed or stored: headers,
// one data block per 32 KiB with its header, and the worst growth of a block
// that does not compress.
uint64_t LargestCabinetBytes(const PackedSources& sources);

// Why the sources do not fit into one cabinet; the empty text when they do.
std::string CapacityProblem(const PackedSources& sources);

}  // namespace vtq::cabinet
