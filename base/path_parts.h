#pragma once
// The one rule that cuts a path name into its folder and its last name.
// Windows takes "\" and "/" as separators, and a drive "X:" before a name
// ("C:notes.txt") names that drive's current folder, so its name starts
// after the colon; UNC names ("\\server\share\file") and long ones
// ("\\?\C:\file") need no more than the separators. POSIX separates with
// "/" alone: "\" and ":" are characters of its names.

#include <cstddef>
#include <string>
#include <string_view>

namespace vtq::base {

enum class PathStyle { kWindows, kPosix };

namespace detail {

template <class Char>
size_t NameStart(std::basic_string_view<Char> path, PathStyle style) {
  for (size_t i = path.size(); i > 0; --i) {
    const Char c = path[i - 1];
    if (c == Char('/') || (style == PathStyle::kWindows && c == Char('\\')))
      return i;
  }
  const bool drive = style == PathStyle::kWindows && path.size() >= 2 && path[1] == Char(':') &&
                     ((path[0] >= Char('A') && path[0] <= Char('Z')) ||
                      (path[0] >= Char('a') && path[0] <= Char('z')));
  return drive ? 2 : 0;
}

}  // namespace detail

// Where the last name of `path` starts: after its last separator, or after
// the drive of a drive-relative name; 0 when it has neither.
inline size_t NameStart(std::string_view path, PathStyle style = PathStyle::kWindows) {
  return detail::NameStart(path, style);
}
inline size_t NameStart(std::wstring_view path) {
  return detail::NameStart(path, PathStyle::kWindows);
}

// The folder part, its last separator (or drive colon) included: "C:\a\"
// of "C:\a\b.txt", "" of "b.txt". Joining it and the name part gives the
// path back.
inline std::string FolderPart(std::string_view path, PathStyle style = PathStyle::kWindows) {
  return std::string(path.substr(0, NameStart(path, style)));
}
inline std::wstring FolderPart(std::wstring_view path) {
  return std::wstring(path.substr(0, NameStart(path)));
}

// The last name: "b.txt" of "C:\a\b.txt", "" of "C:\a\".
inline std::string NamePart(std::string_view path, PathStyle style = PathStyle::kWindows) {
  return std::string(path.substr(NameStart(path, style)));
}
inline std::wstring NamePart(std::wstring_view path) {
  return std::wstring(path.substr(NameStart(path)));
}

}  // namespace vtq::base
