#include "cli/passphrase_source.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "base/utf8_text.h"
#include "cli/console_text.h"
#include "engine/secure_wipe.h"

#ifdef _WIN32
#include "base/win/wide_path.h"
#endif

namespace vtq::cli {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Any file the system opens by name, a pipe or a device as well (a shell's
// "<(...)"); under Windows by its wide name, so that one outside the code
// page opens too.
std::FILE* OpenForReading(const std::string& name) {
#ifdef _WIN32
  return _wfopen(base::win::WidePath(name).c_str(), L"rb");
#else
  return std::fopen(name.c_str(), "rb");
#endif
}

// The first line of a file (UTF-8; a leading byte-order mark, as Notepad
// writes one, is not part of it), read without a stdio buffer, so that no
// copy of the passphrase stays behind in freed memory.
std::optional<std::string> FirstLineOf(const std::string& name, std::string& error) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(name));
  if (!file) {
    error = "cannot read the passphrase file " + name;
    return std::nullopt;
  }
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  std::string line;
  const LineEnd end = ReadLine([&file] { return std::fgetc(file.get()); }, line,
                               kLongestPassphrase + kByteOrderMark.size());
  if (line.starts_with(kByteOrderMark))
    line.erase(0, kByteOrderMark.size());
  if (end == LineEnd::kTooLong || line.size() > kLongestPassphrase) {
    SecureWipe(line);
    error = "the first line of the passphrase file " + name + " is longer than " +
            std::to_string(kLongestPassphrase) + " bytes";
    return std::nullopt;
  }
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
    return FirstLineOf(*args.Value("--passphrase-file"), error);
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
