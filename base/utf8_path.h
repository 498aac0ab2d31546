#pragma once
// std::filesystem's paths from and to UTF-8 names. A path made from a plain
// std::string reads it in the ANSI code page on Windows, where every name
// outside that page would be lost; char8_t text is read as UTF-8 everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace vtq::base {

inline std::filesystem::path PathFromUtf8(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace vtq::base
