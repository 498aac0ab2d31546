#include "app/operations/checksum_file.h"

#include <algorithm>

#include "app/operations/sha256.h"
#include "base/code_page.h"
#include "base/text_lines.h"
#include "base/utf8_text.h"
#include "engine/assembled_name.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/working_file.h"

namespace vtq {
namespace {

constexpr size_t kDigestLength = 64;
// Far beyond any series (32,767 fragments of about 80 bytes a line).
constexpr uint64_t kLongestFile = 16 * 1024 * 1024;

bool NeedsEscape(std::string_view name) {
  return name.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string Escaped(std::string_view name) {
  std::string text;
  for (const char c : name) {
    if (c == '\\')
      text += "\\\\";
    else if (c == '\n')
      text += "\\n";
    else if (c == '\r')
      text += "\\r";
    else
      text += c;
  }
  return text;
}

std::optional<std::string> Unescaped(std::string_view name) {
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '\\') {
      text += name[i];
      continue;
    }
    if (++i == name.size())
      return std::nullopt;
    if (name[i] == '\\')
      text += '\\';
    else if (name[i] == 'n')
      text += '\n';
    else if (name[i] == 'r')
      text += '\r';
    else
      return std::nullopt;
  }
  return text;
}

// The file is UTF-8, as sha256sum writes it; a name that is not UTF-8 was
// written by an earlier version in the ANSI code page.
std::string TextOfName(std::string_view name) {
  return base::IsUtf8(name) ? std::string(name) : base::AnsiCodePage().Decode(name);
}

std::optional<ChecksumLine> ParseLine(std::string_view line) {
  const bool escaped = !line.empty() && line.front() == '\\';
  if (escaped)
    line.remove_prefix(1);
  if (line.size() < kDigestLength + 3 || line[kDigestLength] != ' ' ||
      (line[kDigestLength + 1] != ' ' && line[kDigestLength + 1] != '*')) {
    return std::nullopt;
  }
  ChecksumLine parsed;
  parsed.digest = std::string(line.substr(0, kDigestLength));
  for (char& c : parsed.digest) {
    if (c >= 'A' && c <= 'F')
      c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
      return std::nullopt;
  }
  const std::string_view name = line.substr(kDigestLength + 2);
  if (!escaped) {
    parsed.name = TextOfName(name);
    return parsed;
  }
  const std::optional<std::string> unescaped = Unescaped(name);
  if (!unescaped)
    return std::nullopt;
  parsed.name = TextOfName(*unescaped);
  return parsed;
}

std::string Line(const ChecksumLine& line) {
  if (NeedsEscape(line.name))
    return "\\" + line.digest + "  " + Escaped(line.name) + "\n";
  return line.digest + "  " + line.name + "\n";
}

}  // namespace

std::string ChecksumFileName(const std::string& firstFragment) {
  return SeriesStem(firstFragment) + kChecksumFileEnding;
}

std::string FormatChecksums(const SeriesChecksums& sums) {
  std::string text = Line(sums.source);
  for (const ChecksumLine& fragment : sums.fragments)
    text += Line(fragment);
  return text;
}

std::optional<SeriesChecksums> ParseChecksums(std::string_view text) {
  std::vector<ChecksumLine> lines;
  while (!text.empty()) {
    const std::string_view line = base::TakeLine(text);
    if (line.empty())
      continue;
    const std::optional<ChecksumLine> parsed = ParseLine(line);
    if (!parsed)
      return std::nullopt;
    lines.push_back(*parsed);
  }
  if (lines.empty())
    return std::nullopt;
  SeriesChecksums sums;
  sums.source = lines.front();
  sums.fragments.assign(lines.begin() + 1, lines.end());
  return sums;
}

std::string WriteSeriesChecksums(const std::string& source, const std::string& firstFragment,
                                 int count) {
  SeriesChecksums sums;
  sums.source = {Sha256OfFile(source), BaseName(source)};
  const std::string stem = SeriesStem(firstFragment);
  for (int i = 1; i <= count; ++i) {
    const std::string name = SeriesFragmentName(stem, i);
    sums.fragments.push_back({Sha256OfFile(name), BaseName(name)});
  }
  const std::string text = FormatChecksums(sums);
  const std::string fileName = ChecksumFileName(firstFragment);
  WorkingFile file(fileName);
  file.Write(text.data(), text.size());
  file.Complete();
  return fileName;
}

ChecksumFileState ReadSeriesChecksums(const std::string& firstFragment, SeriesChecksums& sums) {
  return ReadChecksumFile(ChecksumFileName(firstFragment), sums);
}

ChecksumFileState ReadChecksumFile(const std::string& fileName, SeriesChecksums& sums) {
  if (!FileExists(fileName))
    return ChecksumFileState::kAbsent;
  try {
    const uint64_t length = FileLength(fileName);
    if (length > kLongestFile)
      return ChecksumFileState::kUnreadable;
    File file(fileName, File::Mode::kRead);
    std::string text(static_cast<size_t>(length), '\0');
    text.resize(file.Read(text.data(), text.size()));
    std::optional<SeriesChecksums> parsed = ParseChecksums(text);
    if (!parsed)
      return ChecksumFileState::kUnreadable;
    sums = std::move(*parsed);
    return ChecksumFileState::kRead;
  } catch (const VbError&) {
    return ChecksumFileState::kUnreadable;
  }
}

}  // namespace vtq
