#include "cli/passphrase_source.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "engine/secure_wipe.h"

namespace vtq::cli {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The first line of a file, read without a stdio buffer, so that no copy of
// the passphrase stays behind in freed memory.
std::optional<std::string> FirstLineOf(const std::string& name, std::string& error) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    error = "cannot read the passphrase file " + name;
    return std::nullopt;
  }
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  std::string line;
  if (ReadPassphraseLine(file.get(), line) == LineEnd::kTooLong) {
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

LineEnd ReadPassphraseLine(std::FILE* file, std::string& line) {
  SecureWipe(line);
  line.reserve(kLongestPassphrase + 1);
  int c = std::fgetc(file);
  if (c == EOF)
    return LineEnd::kNothing;
  for (; c != EOF && c != '\n'; c = std::fgetc(file)) {
    // One more than the longest may be the "\r" of a "\r\n".
    if (line.size() > kLongestPassphrase) {
      SecureWipe(line);
      return LineEnd::kTooLong;
    }
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  if (line.size() > kLongestPassphrase) {
    SecureWipe(line);
    return LineEnd::kTooLong;
  }
  return LineEnd::kLine;
}

bool EnvironmentPassphraseSet() {
  const char* value = std::getenv(kPassphraseVariable);
  return value && *value;
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
  if (ask || !EnvironmentPassphraseSet())
    return std::nullopt;
  return std::string(std::getenv(kPassphraseVariable));
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
