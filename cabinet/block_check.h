#pragma once
// Checks the data blocks of a cabinet against their checksums before the
// system's FDI decompresses them: Wine's MSZIP decoder writes out of its
// buffer on damaged data and brings the process down, so damage must be
// found first. A block with checksum 0 carries none and passes. A cabinet
// cut short is left to FDI, which reports it.

#include <cstdint>
#include <istream>
#include <string>

namespace vtq::cabinet {

// The checksum of a cabinet's data block as the format defines it: 32-bit
// words XORed, the last 1 to 3 bytes taken high byte first.
uint32_t CabChecksum(const unsigned char* bytes, size_t size, uint32_t seed);

// True when every block of every folder that is present matches its
// checksum; false for a damaged block or a header too short to walk.
bool BlocksMatchChecksums(std::istream& cabinet);

}  // namespace vtq::cabinet
