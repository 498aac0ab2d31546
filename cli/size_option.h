#pragma once
// A fragment size as a person types it: bytes, a k/m/g multiple, or one of
// the sizes the window's preset list offers by the name it shows.

#include <cstdint>
#include <string>
#include <string_view>

namespace vtq::cli {

struct SizeOption {
  int64_t bytes = 0;
  std::string error;  // empty when `bytes` holds the size
};

// "720k", "1.44m", "1.72m" and "2.88m" (either case, a "b" may follow) are
// the window's presets, not multiples: 730,112, 1,457,664, 1,745,408 and
// 3,019,899 bytes. Anything else goes through ParseSize. A size outside
// what a fragment can be is refused rather than quietly clamped, naming
// the option and the range.
SizeOption ParseFragmentSize(std::string_view option, std::string_view text);

}  // namespace vtq::cli
