// The wildcard patterns of the folder walk, character by character.

#include "engine/wildcard.h"

#include <string>

namespace vtq {

namespace {

// Parses a character list such as "[a-cx]", starting after "[" (and after
// "!" when negated), into byte pairs low, high. Returns the position after
// its "]", or npos when the list is not closed.
size_t ParseList(std::string_view pattern, size_t pos, std::string& ranges) {
  while (pos < pattern.size() && pattern[pos] != ']') {
    const auto low = static_cast<unsigned char>(pattern[pos]);
    // "-" between two characters makes a range; first or last it is itself.
    if (pos + 2 < pattern.size() && pattern[pos + 1] == '-' && pattern[pos + 2] != ']') {
      ranges.push_back(static_cast<char>(low));
      ranges.push_back(pattern[pos + 2]);
      pos += 3;
    } else {
      ranges.push_back(static_cast<char>(low));
      ranges.push_back(static_cast<char>(low));
      pos += 1;
    }
  }
  return pos < pattern.size() ? pos + 1 : std::string_view::npos;
}

bool InRanges(const std::string& ranges, unsigned char c) {
  for (size_t i = 0; i + 1 < ranges.size(); i += 2) {
    const auto low = static_cast<unsigned char>(ranges[i]);
    const auto high = static_cast<unsigned char>(ranges[i + 1]);
    if (low <= c && c <= high)
      return true;
  }
  return false;
}

// Whether the single-character element at `pattern[pos]` matches `c`; sets
// `next` to the position after the element. An unclosed "[" stands for itself.
bool MatchOne(std::string_view pattern, size_t pos, char c, size_t& next) {
  const char p = pattern[pos];
  next = pos + 1;
  if (p == '?')
    return true;
  if (p == '#')
    return c >= '0' && c <= '9';
  if (p != '[')
    return p == c;
  size_t start = pos + 1;
  const bool negated = start < pattern.size() && pattern[start] == '!';
  if (negated)
    ++start;
  std::string ranges;
  const size_t end = ParseList(pattern, start, ranges);
  if (end == std::string_view::npos)
    return c == '[';
  next = end;
  return InRanges(ranges, static_cast<unsigned char>(c)) != negated;
}

// "*" and the empty list "[]" may match no character at all.
bool MatchesNothing(std::string_view pattern, size_t p, size_t& next) {
  if (pattern.substr(p, 2) == "[]") {
    next = p + 2;
    return true;
  }
  next = p + 1;
  return p < pattern.size() && pattern[p] == '*';
}

}  // namespace

bool WildcardMatch(std::string_view text, std::string_view pattern) {
  size_t t = 0;
  size_t p = 0;
  // Where the last "*" was seen, and the text position it is tried against;
  // on a mismatch the star takes one more character.
  size_t starPattern = std::string_view::npos;
  size_t starText = 0;
  while (t < text.size()) {
    size_t next = 0;
    if (pattern.substr(p, 2) == "[]") {
      p += 2;
      continue;
    }
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starText = t;
      continue;
    }
    if (p < pattern.size() && MatchOne(pattern, p, text[t], next)) {
      p = next;
      ++t;
      continue;
    }
    if (starPattern == std::string_view::npos)
      return false;
    p = starPattern;
    t = ++starText;
  }
  for (size_t next = 0; MatchesNothing(pattern, p, next);)
    p = next;
  return p == pattern.size();
}

}  // namespace vtq
