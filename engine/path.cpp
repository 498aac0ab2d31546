#include "engine/path.h"

namespace vtq {

std::string BaseName(std::string_view fullName) {
  const auto cut = fullName.rfind(kPathSeparator);
  return std::string(cut == std::string_view::npos ? fullName : fullName.substr(cut + 1));
}

std::string StemOf(std::string_view baseName) {
  const auto dot = baseName.find('.');
  return dot == std::string_view::npos ? std::string() : std::string(baseName.substr(0, dot + 1));
}

std::string NameUpToFirstDot(std::string_view fullName) {
  const auto cut = fullName.rfind(kPathSeparator);
  const size_t baseStart = cut == std::string_view::npos ? 0 : cut + 1;
  const auto dot = fullName.find('.', baseStart);
  return dot == std::string_view::npos ? std::string() : std::string(fullName.substr(0, dot + 1));
}

std::string FragmentNumber(int i) {
  std::string digits = std::to_string(i);
  if (digits.size() < 3)
    digits.insert(0, 3 - digits.size(), '0');
  return digits;
}

std::string WithTrailingSeparator(std::string text) {
  if (text.empty() || text.back() != kPathSeparator)
    text.push_back(kPathSeparator);
  return text;
}

}  // namespace vtq
