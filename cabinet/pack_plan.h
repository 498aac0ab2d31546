#pragma once
// What one Compress call packs, in UTF-8: each source with the name it is
// stored under (kept in the cabinet as UTF-8 where it is not ASCII).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vtq::cabinet {

struct PackItem {
  std::string source;
  std::string storedName;  // relative, "\" between folders
  uint64_t size = 0;
};

struct PackPlan {
  std::string cabinet;   // full name of the cabinet to write
  bool compress = true;  // MSZIP, else stored
  std::vector<PackItem> items;
  uint64_t totalBytes = 0;
};

using PercentCallback = std::function<void(int16_t percent)>;

}  // namespace vtq::cabinet
