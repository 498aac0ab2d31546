#include "engine/assembled_name.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "engine/path.h"

namespace vtq {

std::string SeriesStem(std::string_view firstFragment) {
  const auto cut = firstFragment.rfind(kPathSeparator);
  const size_t baseStart = cut == std::string_view::npos ? 0 : cut + 1;
  return std::string(firstFragment.substr(0, baseStart)) + StemOf(firstFragment.substr(baseStart));
}

std::string SeriesFragmentName(std::string_view stem, int i) {
  return std::string(stem) + FragmentNumber(i);
}

namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

bool ForbiddenInFileName(unsigned char c) {
  return c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

bool IsReservedDeviceName(std::string_view name) {
  // Windows ignores the extension and trailing blanks when it looks for a device.
  std::string_view device = name.substr(0, name.find('.'));
  while (!device.empty() && device.back() == ' ')
    device.remove_suffix(1);
  const std::string upper = Upper(device);
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end())
    return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

std::string SafeBaseName(std::string_view storedName) {
  const auto cut = storedName.find_last_of("\\/:");
  const std::string_view base =
      cut == std::string_view::npos ? storedName : storedName.substr(cut + 1);
  const bool onlyDotsAndBlanks = base.find_first_not_of(". ") == std::string_view::npos;
  if (onlyDotsAndBlanks || IsReservedDeviceName(base))
    return {};
  if (std::any_of(base.begin(), base.end(),
                  [](char c) { return ForbiddenInFileName(static_cast<unsigned char>(c)); })) {
    return {};
  }
  return std::string(base);
}

}  // namespace vtq
