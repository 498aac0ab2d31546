#pragma once
// The program's command line: an optional verb ("/assext", "/makecab") and
// one path. Fields are split at single blanks by the helper library's
// parameter routines and trimmed; the verb is the first field and the path
// the last. A path may hold blanks: one in double quotes is taken whole
// without its quotes, and when the whole line, or the whole text after the
// first field, names an existing file or folder, that text is the path.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/model/prompt.h"

namespace vtq::model {

struct CommandLine {
  std::wstring verb;  // the path itself when the line holds nothing else
  std::wstring path;
};

// nullopt for an empty (or blank) command line.
std::optional<CommandLine> ParseCommandLine(std::wstring_view commandLine,
                                            const std::function<bool(std::wstring_view)>& exists);

// What follows the program's own name in the process's full command line
// (GetCommandLineW): the name is quoted or ends at the first blank or tab,
// and the blanks after it are not part of the arguments.
std::wstring_view ProgramArguments(std::wstring_view fullCommandLine);

// The message that ends the program at once when the line, trimmed, is
// exactly "/makecab"; nullopt otherwise.
std::optional<Prompt> MakeCabWithoutPath(std::wstring_view commandLine);

}  // namespace vtq::model
