#include "app/model/command_line.h"

#include <algorithm>

#include "app/model/basic_numeric.h"
#include "helperlib/core/param_string.h"

namespace vtq::model {
namespace {

constexpr std::wstring_view kBlank = L" ";

// The text between an opening double quote and the next one (or the end).
std::wstring Unquoted(std::wstring_view quoted) {
  const std::wstring_view inner = quoted.substr(1);
  return std::wstring(inner.substr(0, inner.find(L'"')));
}

}  // namespace

std::wstring_view ProgramArguments(std::wstring_view full) {
  size_t end = 0;
  if (!full.empty() && full.front() == L'"') {
    const size_t closing = full.find(L'"', 1);
    end = closing == std::wstring_view::npos ? full.size() : closing + 1;
  } else {
    end = std::min(full.find_first_of(L" \t"), full.size());
  }
  const std::wstring_view rest = full.substr(end);
  return rest.substr(std::min(rest.find_first_not_of(L" \t"), rest.size()));
}

std::optional<CommandLine> ParseCommandLine(std::wstring_view commandLine,
                                            const std::function<bool(std::wstring_view)>& exists) {
  const std::wstring_view line = TrimBlanks(commandLine);
  if (line.empty())
    return std::nullopt;
  const int count = orrin::ParamCount(line, kBlank);
  CommandLine parsed{orrin::GetParam(line, 1, kBlank, true),
                     orrin::GetParam(line, count, kBlank, true)};
  if (line.front() == L'"') {
    parsed.path = Unquoted(line);
    return parsed;
  }
  const size_t blank = line.find(L' ');
  const std::wstring_view rest =
      blank == std::wstring_view::npos ? std::wstring_view{} : TrimBlanks(line.substr(blank));
  if (!rest.empty() && rest.front() == L'"')
    parsed.path = Unquoted(rest);
  else if (!rest.empty() && exists(line))
    parsed.path = std::wstring(line);
  else if (!rest.empty() && exists(rest))
    parsed.path = std::wstring(rest);
  return parsed;
}

std::optional<Prompt> MakeCabWithoutPath(std::wstring_view commandLine) {
  if (TrimBlanks(commandLine) != L"/makecab")
    return std::nullopt;
  return Prompt{L"Sorry but you may not convert the selected folder into a CAB file", L"Sorry",
                mb::kOk | mb::kIconCritical, std::nullopt, QuickCommand::kNone};
}

}  // namespace vtq::model
