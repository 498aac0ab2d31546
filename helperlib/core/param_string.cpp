#include "helperlib/core/param_string.h"

#include <algorithm>
#include <cwctype>

namespace orrin {
namespace {

std::wstring_view Separator(std::wstring_view sep) {
  return sep.empty() ? L"," : sep;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos)
    return {};
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

std::wstring Lowered(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return out;
}

bool Matches(std::wstring_view field, std::wstring_view wanted, SearchMethod method) {
  switch (method) {
    case SearchMethod::kContains:
      return field.find(wanted) != std::wstring_view::npos;
    case SearchMethod::kEndsWith:
      return field.ends_with(wanted);
    case SearchMethod::kStartsWith:
      return field.starts_with(wanted);
    case SearchMethod::kIs:
      return field == wanted;
  }
  return false;
}

}  // namespace

std::wstring GetParam(std::wstring_view toParse, int n, std::wstring_view sep, bool trim) {
  sep = Separator(sep);
  if (n < 1)
    return {};
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const auto found = toParse.find(sep, start);
    if (found == std::wstring_view::npos)
      return {};
    start = found + sep.size();
  }
  const auto end = toParse.find(sep, start);
  auto field =
      toParse.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
  return std::wstring(trim ? TrimBlanks(field) : field);
}

int ParamCount(std::wstring_view toParse, std::wstring_view sep) {
  sep = Separator(sep);
  // Counting by rebuilding: an empty field only ends the count once the
  // rebuilt text covers the whole input, so inner empty fields still count.
  size_t rebuilt = 0;
  int count = 0;
  for (int i = 1;; ++i) {
    const auto field = GetParam(toParse, i, sep);
    if (field.empty() && rebuilt >= toParse.size())
      return count;
    rebuilt += field.size() + sep.size();
    ++count;
  }
}

std::wstring SetParam(std::wstring_view toParse, int n, std::wstring_view newValue,
                      std::wstring_view sep) {
  sep = Separator(sep);
  const int fields = std::max(ParamCount(toParse, sep), n);
  std::wstring out;
  for (int i = 1; i <= fields; ++i) {
    if (i > 1)
      out += sep;
    out += i == n ? std::wstring(newValue) : GetParam(toParse, i, sep);
  }
  return out;
}

int FindParam(std::wstring_view paramStr, std::wstring_view toFind, std::wstring_view sep,
              FindOptions options) {
  sep = Separator(sep);
  if (toFind.empty())
    return 0;
  const std::wstring wanted = options.caseSensitive ? std::wstring(toFind) : Lowered(toFind);
  for (int i = options.startParam;; ++i) {
    const auto field = GetParam(paramStr, i, sep);
    if (field.empty())
      return 0;
    if (Matches(options.caseSensitive ? field : Lowered(field), wanted, options.method))
      return i;
  }
}

std::wstring ChangeParamSep(std::wstring_view toParse, std::wstring_view newSep,
                            std::wstring_view oldSep) {
  newSep = Separator(newSep);
  oldSep = Separator(oldSep);
  std::wstring out;
  size_t start = 0;
  for (auto found = toParse.find(oldSep); found != std::wstring_view::npos;
       found = toParse.find(oldSep, start)) {
    out.append(toParse.substr(start, found - start)).append(newSep);
    start = found + oldSep.size();
  }
  out.append(toParse.substr(start));
  return out;
}

}  // namespace orrin
