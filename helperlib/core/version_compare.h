#pragma once
// CompareVersions: two version texts compared component by component as
// whole numbers, the most significant differing component deciding.

#include <string_view>

namespace orrin {

// The values of cvReturn.
enum class VersionOrder { kSame = 0, kFirstNewer = 1, kSecondNewer = 2 };

// Components are separated by `sep` (empty means "."); a missing or empty
// component counts as 0 and one that is not a number is ignored. Numbers of
// any length compare correctly.
VersionOrder CompareVersions(std::wstring_view x, std::wstring_view y,
                             std::wstring_view sep = L".");

}  // namespace orrin
