#include "helperlib/core/path_words.h"

namespace orrin {

std::wstring GetWord(std::wstring_view text, long n) {
  if (n < 1)
    return L"";
  size_t at = 0;
  for (long word = 1;; ++word) {
    at = text.find_first_not_of(L' ', at);
    if (at == std::wstring_view::npos)
      return L"";
    const size_t end = text.find(L' ', at);
    if (word == n)
      return std::wstring(text.substr(at, end == std::wstring_view::npos ? end : end - at));
    if (end == std::wstring_view::npos)
      return L"";
    at = end;
  }
}

std::wstring ParentPath(std::wstring_view path, PathPart part, std::wstring_view sep) {
  if (sep.empty())
    sep = L"\\";
  if (path.size() > sep.size() && path.ends_with(sep))
    path.remove_suffix(sep.size());
  const size_t at = path.rfind(sep);
  if (at == std::wstring_view::npos)
    return part == PathPart::kParent ? L"" : std::wstring(path);
  return part == PathPart::kParent ? std::wstring(path.substr(0, at))
                                   : std::wstring(path.substr(at + sep.size()));
}

}  // namespace orrin
