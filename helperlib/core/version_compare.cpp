#include "helperlib/core/version_compare.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace orrin {
namespace {

std::vector<std::wstring_view> Components(std::wstring_view text, std::wstring_view sep) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(sep, start)) != std::wstring_view::npos;
       start = at + sep.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// The component's digits without leading zeros ("" for zero), or nullopt
// for a component that is not a number. Blanks around it are allowed.
std::optional<std::wstring> Number(std::wstring_view part) {
  while (!part.empty() && part.front() == L' ')
    part.remove_prefix(1);
  while (!part.empty() && part.back() == L' ')
    part.remove_suffix(1);
  if (part.empty())
    return std::wstring();
  if (!std::all_of(part.begin(), part.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    return std::nullopt;
  const size_t first = part.find_first_not_of(L'0');
  return first == std::wstring_view::npos ? std::wstring() : std::wstring(part.substr(first));
}

// <0, 0, >0 as a is smaller, equal or larger than b (digit strings without
// leading zeros).
int CompareNumbers(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size())
    return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

}  // namespace

VersionOrder CompareVersions(std::wstring_view x, std::wstring_view y, std::wstring_view sep) {
  if (x == y)
    return VersionOrder::kSame;
  if (x.empty())
    return VersionOrder::kSecondNewer;
  if (y.empty())
    return VersionOrder::kFirstNewer;
  if (sep.empty())
    sep = L".";
  const auto xs = Components(x, sep);
  const auto ys = Components(y, sep);
  const size_t count = std::max(xs.size(), ys.size());
  for (size_t i = 0; i < count; ++i) {
    const auto a = i < xs.size() ? Number(xs[i]) : std::wstring();
    const auto b = i < ys.size() ? Number(ys[i]) : std::wstring();
    if (!a || !b)
      continue;
    if (const int order = CompareNumbers(*a, *b); order != 0)
      return order > 0 ? VersionOrder::kFirstNewer : VersionOrder::kSecondNewer;
  }
  return VersionOrder::kSame;
}

}  // namespace orrin
