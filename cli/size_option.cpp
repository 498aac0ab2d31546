#include "cli/size_option.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/operations/fragment_sizes.h"
#include "cli/console_host.h"

namespace vtq::cli {
namespace {

// The preset list's names in the order of its positions.
constexpr std::array<std::string_view, 4> kPresetNames = {"720k", "1.44m", "1.72m", "2.88m"};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

int64_t PresetBytes(std::string_view text) {
  std::string name = Lower(text);
  if (name.size() > 1 && name.back() == 'b')
    name.pop_back();
  for (size_t i = 0; i < kPresetNames.size(); ++i) {
    if (name == kPresetNames[i])
      return vtq::PresetBytes(static_cast<int>(i));
  }
  return 0;
}

}  // namespace

SizeOption ParseFragmentSize(std::string_view option, std::string_view text) {
  SizeOption size;
  const std::string shown = std::string(option) + ": " + std::string(text);
  if (const int64_t preset = PresetBytes(text); preset > 0) {
    size.bytes = preset;
    return size;
  }
  const auto bytes = ParseSize(text);
  if (!bytes) {
    size.error = "bad size for " + shown +
                 " (give bytes, a number with k, m or g, or 720k, 1.44m, 1.72m, 2.88m)";
    return size;
  }
  if (!WithinFragmentRange(*bytes)) {
    size.error =
        "size out of range for " + shown + " (fragments are 10k to 100m, 10240 to 104857600 bytes)";
    return size;
  }
  size.bytes = *bytes;
  return size;
}

}  // namespace vtq::cli
