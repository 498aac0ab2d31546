// The folder walk of the shared module: name fields, wildcard matching and
// the depth-first gathering of files behind FileList::AddFolderContents.

#include <string>

#include "engine/globals.h"
#include "engine/path.h"

namespace vtq::GlobalSettings {

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

std::string TrimAtNull(std::string_view field) {
  return std::string(field.substr(0, field.find('\0')));
}

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

void CollectFolderFiles(FolderEnumerator& folders, std::string folder,
                        std::string_view folderPattern, std::string_view filePattern,
                        std::vector<std::string>& target) {
  folder = WithTrailingSeparator(std::move(folder));
  const bool folderMatches = WildcardMatch(folder, folderPattern);
  folders.Enumerate(folder + "*", [&](const FindEntry& entry) {
    const std::string name = TrimAtNull(std::string_view(entry.name.data(), entry.name.size()));
    // An empty name would stand for the folder itself and walk it for ever.
    if (name.empty())
      return;
    if (entry.attributes & FindEntry::kDirectory) {
      // A linked folder is not walked: two links to their parents would make
      // the walk endless, and a link may lead anywhere outside the folder.
      const bool linked = (entry.attributes & FindEntry::kReparsePoint) != 0;
      if (!linked && name != "." && name != "..") {
        CollectFolderFiles(folders, folder + name, folderPattern, filePattern, target);
      }
    } else if (folderMatches && WildcardMatch(name, filePattern)) {
      target.push_back(folder + name);
    }
  });
}

}  // namespace vtq::GlobalSettings
