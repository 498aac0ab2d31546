// Fuzzes the walk over a cabinet's folders and data blocks that checks
// their checksums before the system's decompressor sees them. The input is
// the cabinet.

#include <cstdint>
#include <sstream>
#include <string>

#include "cabinet/block_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream cabinet(std::string(reinterpret_cast<const char*>(data), size));
  vtq::cabinet::BlocksMatchChecksums(cabinet);
  return 0;
}
