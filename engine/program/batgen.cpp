#include "engine/program/batgen.h"

#include <algorithm>
#include <cctype>

#include "engine/path.h"
#include "engine/shown_text.h"

namespace vtq {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kQuote = '"';

std::string Setting(SettingsSource* settings, std::string_view name, std::string_view fallback) {
  if (settings) {
    if (auto value = settings->ReadProgramSetting(name))
      return *value;
  }
  return std::string(fallback);
}

std::string Quoted(std::string_view text) {
  std::string out(1, kQuote);
  out.append(EscapeBatchQuoted(text)).push_back(kQuote);
  return out;
}

bool IsCabinetName(std::string_view name) {
  if (name.size() < 3)
    return false;
  std::string tail(name.substr(name.size() - 3));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == "cab";
}

// Calls `visit` with each whole character of a UTF-8 text in turn.
template <class Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (size_t at = 0; at < text.size();) {
    size_t length = 1;
    while (at + length < text.size() &&
           (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
      ++length;
    visit(text.substr(at, length));
    at += length;
  }
}

std::string FirstCharacterNotIn(std::string_view text, const base::CodePage& page) {
  std::string missing;
  ForEachCharacter(text, [&](std::string_view character) {
    if (missing.empty() && !page.Encode(character))
      missing = character;
  });
  return missing;
}

class Lines {
 public:
  void Add(std::string_view line) { text_.append(line).append(kLineEnd); }
  void AddRaw(std::string_view lines) { text_.append(lines); }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

void ShowBatUnavailable(MessageBoxes& boxes) {
  boxes.Show(kBatUnavailableText, kBatUnavailableTitle, mb::kOk | mb::kIconExclamation);
}

std::optional<char> FirstUnsafeBatchCharacter(std::string_view name) {
  const auto it = std::find_if(name.begin(), name.end(),
                               [](char c) { return c == kQuote || IsControlCharacter(c); });
  if (it == name.end())
    return std::nullopt;
  return *it;
}

std::string BatUnsafeNameText(std::string_view name, char unsafe) {
  const std::string what = unsafe == kQuote ? "the double quote " : "the control character ";
  return "BAT Generation unavailable for " + ShownText(name) + ": its name holds " + what +
         ShownCharacter(unsafe) +
         ", which a batch file cannot carry safely. The BAT file will not be generated.";
}

std::string EscapeBatchUnquoted(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    if (c == kQuote)
      quoted = !quoted;
    if (c == '%') {
      out += "%%";
      continue;
    }
    // Inside quotes cmd takes these literally, and a "^" would be shown.
    if (!quoted && (c == '&' || c == '|' || c == '<' || c == '>' || c == '^'))
      out += '^';
    out += c;
  }
  return out;
}

std::string EscapeBatchQuoted(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%')
      out += '%';
  }
  return out;
}

std::string BatIntroText(SettingsSource* settings) {
  std::string text = Setting(settings, kBatIntroSetting, kDefaultBatIntroText);
  if (text.empty() || text.back() != '\n')
    text.append(kLineEnd);
  // Every stored line, empty ones included, becomes one ECHO line. A line
  // ends at CR LF; a lone LF ends one too rather than breaking the batch.
  Lines lines;
  while (!text.empty()) {
    const auto end = text.find_first_of("\r\n");
    lines.Add("ECHO " + EscapeBatchUnquoted(std::string_view(text).substr(0, end)));
    const auto feed = text.find('\n');
    text.erase(0, feed == std::string::npos ? std::string::npos : feed + 1);
  }
  return lines.Take();
}

std::string BatGenText(const BatGenSeries& series, SettingsSource* settings) {
  const std::string& name = series.sourceName;
  const std::string stem = StemOf(name);
  const int n = series.fragmentCount;

  Lines lines;
  lines.Add("@ECHO OFF");
  lines.Add("REM **** Created with Quorvelle Vantrelloquin ****");
  lines.Add("REM ** BatGen version 4.0 **");
  lines.Add("REM Rejoins the raw fragments below into their source file with copy /b");
  lines.Add("");
  lines.AddRaw(BatIntroText(settings));
  lines.Add("ECHO Assembling fragments into " + EscapeBatchUnquoted(name));
  lines.Add("if exist " + Quoted(stem + FragmentNumber(n)) + " goto 1");
  lines.Add("echo Please copy all the pieces of the file into the same directory on");
  lines.Add("echo your hard disk, and then run this file again.");
  lines.Add("goto 2");
  lines.Add(":1");
  std::string join = "copy /b";
  for (int i = 1; i <= n; ++i) {
    join.append(" ").append(Quoted(stem + FragmentNumber(i)));
    if (i < n)
      join += " +";
  }
  lines.Add(join + " " + Quoted(name));
  if (IsCabinetName(name) &&
      Setting(settings, kBatDecompressSetting, kBatDecompressDefault) == "1") {
    lines.Add("echo Attempting self-extraction....");
    if (series.cabinetIsMultifile && !stem.empty()) {
      const std::string folder = stem.substr(0, stem.size() - 1);
      lines.Add("extract /E /L " + Quoted(folder) + " " + Quoted(name) + " >NUL:");
    } else if (series.cabinetIsMultifile) {
      // No stem to name a folder after: all files go to the current folder.
      lines.Add("extract /E " + Quoted(name) + " >NUL:");
    } else {
      lines.Add("extract " + Quoted(name) + " >NUL:");
    }
    if (Setting(settings, kBatDeleteCabsSetting, kBatDeleteCabsDefault) == "1") {
      lines.Add("del " + Quoted(name) + " >NUL:");
    }
  }
  lines.Add("ECHO Done!");
  lines.Add(":2");
  return lines.Take();
}

std::optional<std::string> BatNameProblem(std::string_view name, const base::CodePage& console) {
  if (const auto unsafe = FirstUnsafeBatchCharacter(name))
    return BatUnsafeNameText(name, *unsafe);
  if (console.Encode(name))
    return std::nullopt;
  const std::string missing = FirstCharacterNotIn(name, console);
  return "BAT Generation unavailable for " + ShownText(name) + ": its name holds " + missing +
         ", which the command prompt's code page cannot show, so a batch file cannot name it. "
         "The BAT file will not be generated.";
}

std::string BatFileBytes(std::string_view text, const base::CodePage& console) {
  if (auto whole = console.Encode(text))
    return std::move(*whole);
  std::string out;
  ForEachCharacter(text, [&](std::string_view character) {
    const auto bytes = console.Encode(character);
    out += bytes ? *bytes : std::string("?");
  });
  return out;
}

std::string CheckedBatGenText(const BatGenSeries& series, const Platform& platform) {
  if (const auto problem = BatNameProblem(series.sourceName, *platform.batchCodePage)) {
    platform.boxes.Show(*problem, kBatUnavailableTitle, mb::kOk | mb::kIconExclamation);
    return {};
  }
  return BatFileBytes(BatGenText(series, platform.settings), *platform.batchCodePage);
}

}  // namespace vtq
