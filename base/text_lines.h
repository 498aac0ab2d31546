#pragma once
// Reading a text a line at a time, whichever of LF and CR LF ends its lines.

#include <algorithm>
#include <string_view>

namespace vtq::base {

// The first line of `text`, without its line end, which it takes off `text`.
inline std::string_view TakeLine(std::string_view& text) {
  const size_t end = std::min(text.find('\n'), text.size());
  std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  return line;
}

}  // namespace vtq::base
