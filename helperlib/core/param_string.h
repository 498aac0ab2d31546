#pragma once
// Parameter strings: fields of a text separated by a separator string,
// counted from 1. An empty separator stands for ",". These are the routines
// behind OrrinModules' GetParam, ParamCount, SetParam, FindParam and
// ChangeParamSep; they never fail.

#include <string>
#include <string_view>

namespace orrin {

enum class SearchMethod { kContains = 0, kEndsWith = 1, kStartsWith = 2, kIs = 3 };

// The n-th field; empty for n < 1 or when there are fewer fields.
// With `trim`, leading and trailing blanks are dropped.
std::wstring GetParam(std::wstring_view toParse, int n, std::wstring_view sep = L",",
                      bool trim = false);

// The number of fields: an empty text has none, a trailing separator adds
// none, empty fields between separators count.
int ParamCount(std::wstring_view toParse, std::wstring_view sep = L",");

// The text with field n replaced, missing fields up to n added empty.
std::wstring SetParam(std::wstring_view toParse, int n, std::wstring_view newValue,
                      std::wstring_view sep = L",");

struct FindOptions {
  SearchMethod method = SearchMethod::kContains;
  int startParam = 1;
  bool caseSensitive = false;
};

// The number of the first field from startParam on that matches `toFind`;
// 0 when none does, when toFind is empty, or at the first empty field.
int FindParam(std::wstring_view paramStr, std::wstring_view toFind, std::wstring_view sep = L",",
              FindOptions options = {});

// The text with every old separator replaced by the new one.
std::wstring ChangeParamSep(std::wstring_view toParse, std::wstring_view newSep,
                            std::wstring_view oldSep = L",");

}  // namespace orrin
