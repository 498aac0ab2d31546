#include "cli/passphrase_source.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "base/utf8_text.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"

namespace vtq::cli {
namespace {

// The first line of a file (UTF-8; a leading byte-order mark, as Notepad
// writes one, is not part of it), read a byte at a time into memory that is
// wiped, so that no copy of the passphrase stays behind in freed memory.
std::optional<std::string> FirstLineOf(const std::string& name) {
  std::string line;
  line.reserve(1024);
  try {
    File file(name, File::Mode::kRead);
    for (char c; file.Read(&c, 1) == 1 && c != '\n';)
      line.push_back(c);
  } catch (const VbError&) {
    SecureWipe(line);
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  if (line.starts_with("\xEF\xBB\xBF"))
    line.erase(0, 3);
  return line;
}

// A copy of the option's value; the value in the parsed arguments is wiped.
std::string TakeValue(ParsedArgs& args, const std::string& option) {
  std::string& stored = args.values.at(option);
  std::string copy = stored;
  SecureWipe(stored);
  return copy;
}

}  // namespace

namespace {

// The variable's value in UTF-8; the narrow environment of Windows is in
// the ANSI code page.
std::optional<std::string> EnvironmentPassphrase() {
#ifdef _WIN32
  const std::wstring name = base::FromUtf8(kPassphraseVariable);
  const wchar_t* value = _wgetenv(name.c_str());
  if (value == nullptr || *value == L'\0')
    return std::nullopt;
  return base::ToUtf8(value);
#else
  const char* value = std::getenv(kPassphraseVariable);
  if (value == nullptr || *value == '\0')
    return std::nullopt;
  return std::string(value);
#endif
}

}  // namespace

bool EnvironmentPassphraseSet() {
  std::optional<std::string> value = EnvironmentPassphrase();
  SecureWipe(value);
  return value.has_value();
}

std::optional<std::string> PassphraseFrom(ParsedArgs& args, std::string& error) {
  const bool given = args.Has("-p");
  const bool file = args.Has("--passphrase-file");
  const bool ask = args.Has("--ask-passphrase") || args.Has("-P");
  if (given + file + ask > 1) {
    error = ask ? "-p, --passphrase-file and --ask-passphrase exclude each other"
                : "-p and --passphrase-file exclude each other";
    return std::nullopt;
  }
  if (given)
    return TakeValue(args, "-p");
  if (file) {
    const std::string name = *args.Value("--passphrase-file");
    auto line = FirstLineOf(name);
    if (!line)
      error = "cannot read the passphrase file " + name;
    return line;
  }
  if (ask)
    return std::nullopt;
  return EnvironmentPassphrase();
}

void HidePassphraseArguments(int count, char** arguments) {
  static const std::set<std::string_view> kOthersWithValue = {
      "-d", "-s", "--first-size", "-f", "--passphrase-file", "--regen", "--unknown-as"};
  for (int i = 0; i + 1 < count; ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--")
      return;
    if (argument == "-p")
      SecureWipe(arguments[i + 1], std::strlen(arguments[i + 1]));
    if (argument == "-p" || kOthersWithValue.count(argument))
      ++i;
  }
}

}  // namespace vtq::cli
