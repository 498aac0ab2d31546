// The wildcard patterns of the folder walk, character by character: names
// and patterns are UTF-8, and "?" or a list stands for one character of
// however many bytes.

#include "engine/wildcard.h"

#include <string>

#include "base/utf8_text.h"

namespace vtq {

namespace {

using Text = std::u32string_view;

// Parses a character list such as "[a-cx]", starting after "[" (and after
// "!" when negated), into pairs low, high. Returns the position after its
// "]", or npos when the list is not closed.
size_t ParseList(Text pattern, size_t pos, std::u32string& ranges) {
  while (pos < pattern.size() && pattern[pos] != U']') {
    const char32_t low = pattern[pos];
    // "-" between two characters makes a range; first or last it is itself.
    if (pos + 2 < pattern.size() && pattern[pos + 1] == U'-' && pattern[pos + 2] != U']') {
      ranges.push_back(low);
      ranges.push_back(pattern[pos + 2]);
      pos += 3;
    } else {
      ranges.push_back(low);
      ranges.push_back(low);
      pos += 1;
    }
  }
  return pos < pattern.size() ? pos + 1 : Text::npos;
}

bool InRanges(const std::u32string& ranges, char32_t c) {
  for (size_t i = 0; i + 1 < ranges.size(); i += 2) {
    if (ranges[i] <= c && c <= ranges[i + 1])
      return true;
  }
  return false;
}

// Whether the single-character element at `pattern[pos]` matches `c`; sets
// `next` to the position after the element. An unclosed "[" stands for itself.
bool MatchOne(Text pattern, size_t pos, char32_t c, size_t& next) {
  const char32_t p = pattern[pos];
  next = pos + 1;
  if (p == U'?')
    return true;
  if (p == U'#')
    return c >= U'0' && c <= U'9';
  if (p != U'[')
    return p == c;
  size_t start = pos + 1;
  const bool negated = start < pattern.size() && pattern[start] == U'!';
  if (negated)
    ++start;
  std::u32string ranges;
  const size_t end = ParseList(pattern, start, ranges);
  if (end == Text::npos)
    return c == U'[';
  next = end;
  return InRanges(ranges, c) != negated;
}

// "*" and the empty list "[]" may match no character at all.
bool MatchesNothing(Text pattern, size_t p, size_t& next) {
  if (pattern.substr(p, 2) == U"[]") {
    next = p + 2;
    return true;
  }
  next = p + 1;
  return p < pattern.size() && pattern[p] == U'*';
}

bool Match(Text text, Text pattern) {
  size_t t = 0;
  size_t p = 0;
  // Where the last "*" was seen, and the text position it is tried against;
  // on a mismatch the star takes one more character.
  size_t starPattern = Text::npos;
  size_t starText = 0;
  while (t < text.size()) {
    size_t next = 0;
    if (pattern.substr(p, 2) == U"[]") {
      p += 2;
      continue;
    }
    if (p < pattern.size() && pattern[p] == U'*') {
      starPattern = ++p;
      starText = t;
      continue;
    }
    if (p < pattern.size() && MatchOne(pattern, p, text[t], next)) {
      p = next;
      ++t;
      continue;
    }
    if (starPattern == Text::npos)
      return false;
    p = starPattern;
    t = ++starText;
  }
  for (size_t next = 0; MatchesNothing(pattern, p, next);)
    p = next;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view text, std::string_view pattern) {
  return Match(base::CodePointsOf(text), base::CodePointsOf(pattern));
}

}  // namespace vtq
