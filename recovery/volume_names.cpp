#include "recovery/volume_names.h"

#include <algorithm>

namespace vtq::recovery {
namespace {

std::string Padded(uint32_t value, size_t digits) {
  std::string text = std::to_string(value);
  return std::string(digits > text.size() ? digits - text.size() : 0, '0') + text;
}

}  // namespace

std::string IndexFileName(const std::string& prefix) {
  return prefix + "par2";
}

std::vector<Volume> PlanVolumes(const std::string& prefix, uint32_t firstExponent,
                                uint32_t slices) {
  std::vector<Volume> volumes;
  uint32_t size = 1;
  for (uint32_t given = 0; given < slices; given += volumes.back().count) {
    volumes.push_back({firstExponent + given, std::min(size, slices - given), {}});
    size = size < (1u << 30) ? size * 2 : size;
  }
  uint32_t largest = 0;
  for (const Volume& v : volumes)
    largest = std::max(largest, v.count);
  const size_t firstDigits = std::to_string(firstExponent + slices).size();
  const size_t countDigits = std::to_string(largest).size();
  for (Volume& v : volumes)
    v.name = prefix + "vol" + Padded(v.first, firstDigits) + "+" + Padded(v.count, countDigits) +
             ".par2";
  return volumes;
}

}  // namespace vtq::recovery
