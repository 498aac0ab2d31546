#include "engine/path.h"

namespace vtq {

std::string BaseName(std::string_view fullName) {
  return base::NamePart(fullName, kPathStyle);
}

std::string FolderPart(std::string_view fullName) {
  return base::FolderPart(fullName, kPathStyle);
}

std::string StemOf(std::string_view baseName) {
  const auto dot = baseName.find('.');
  return dot == std::string_view::npos ? std::string() : std::string(baseName.substr(0, dot + 1));
}

std::string NameUpToFirstDot(std::string_view fullName) {
  const auto dot = fullName.find('.', base::NameStart(fullName, kPathStyle));
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
