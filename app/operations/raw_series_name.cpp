#include "app/operations/raw_series_name.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/text_lines.h"
#include "engine/assembled_name.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"

namespace vtq {
namespace {

// Far beyond any batch file the generator writes.
constexpr uint64_t kLongestBatchFile = 4 * 1024 * 1024;

bool StartsWithWords(std::string_view line, std::string_view words) {
  if (line.size() < words.size())
    return false;
  return std::equal(words.begin(), words.end(), line.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// The quoted texts of a line, "%%" read as the "%" it stands for; nullopt
// when a quote is left open.
std::optional<std::vector<std::string>> QuotedTexts(std::string_view line) {
  std::vector<std::string> texts;
  size_t at = 0;
  while ((at = line.find('"', at)) != std::string_view::npos) {
    const size_t end = line.find('"', at + 1);
    if (end == std::string_view::npos)
      return std::nullopt;
    std::string text;
    for (size_t i = at + 1; i < end; ++i) {
      text += line[i];
      if (line[i] == '%' && i + 1 < end && line[i + 1] == '%')
        ++i;
    }
    texts.push_back(std::move(text));
    at = end + 1;
  }
  return texts;
}

bool IsFragmentOf(const std::string& name, std::string_view baseStem) {
  return name.size() > baseStem.size() && name.compare(0, baseStem.size(), baseStem) == 0 &&
         name.find_first_not_of("0123456789", baseStem.size()) == std::string::npos;
}

}  // namespace

std::optional<std::string> JoinedNameInBatchText(std::string_view text, std::string_view baseStem) {
  while (!text.empty()) {
    const std::string_view line = base::TakeLine(text);
    if (!StartsWithWords(line, "copy /b "))
      continue;
    const auto texts = QuotedTexts(line);
    if (!texts || texts->size() < 2)
      return std::nullopt;
    const std::string& joined = texts->back();
    const bool fragmentsOnly = std::all_of(texts->begin(), texts->end() - 1, [&](const auto& name) {
      return IsFragmentOf(name, baseStem);
    });
    if (!fragmentsOnly || joined.empty() || joined.find_first_of("\\/:") != std::string::npos ||
        IsFragmentOf(joined, baseStem)) {
      return std::nullopt;
    }
    return joined;
  }
  return std::nullopt;
}

std::optional<std::string> RawSeriesNameFromBatchFile(const std::string& firstFragment) {
  const std::string batch = SeriesStem(firstFragment) + "BAT";
  try {
    if (!FileExists(batch) || FileLength(batch) > kLongestBatchFile)
      return std::nullopt;
    File file(batch, File::Mode::kRead);
    std::string text(static_cast<size_t>(FileLength(batch)), '\0');
    text.resize(file.Read(text.data(), text.size()));
    return JoinedNameInBatchText(text, BaseName(SeriesStem(firstFragment)));
  } catch (const VbError&) {
    return std::nullopt;
  }
}

}  // namespace vtq
