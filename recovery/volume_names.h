#pragma once
// How the recovery slices of a set are shared out over its files, and what
// those files are called: an index file `prefix` + "par2" without slices,
// and volumes `prefix` + "vol" + first + "+" + count + ".par2" holding 1, 2,
// 4, 8, ... slices (the last one the rest), the first numbers padded to the
// digits of the total and the counts to those of the largest count, so
// that the names sort in order, as par2cmdline names its own.

#include <cstdint>
#include <string>
#include <vector>

namespace vtq::recovery {

struct Volume {
  uint32_t first = 0;  // exponent of its first slice
  uint32_t count = 0;
  std::string name;
};

std::string IndexFileName(const std::string& prefix);
std::vector<Volume> PlanVolumes(const std::string& prefix, uint32_t firstExponent, uint32_t slices);

}  // namespace vtq::recovery
