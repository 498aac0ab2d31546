#include "cli/console_text.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

#include "base/utf8_text.h"
#include "cli/terminal.h"
#include "engine/secure_wipe.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

namespace vtq::cli {
namespace {

#ifdef _WIN32
HANDLE ConsoleOf(std::FILE* stream) {
  return IsTerminal(stream) ? reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)))
                            : INVALID_HANDLE_VALUE;
}
#endif

// Without a stdio buffer: a byte at a time, as the passphrase file and the
// terminal's line have always been read.
std::optional<std::string> ReadBytes(std::FILE* stream) {
  std::string line;
  bool ended = true;
  for (int c; (c = std::fgetc(stream)) != EOF;) {
    ended = false;
    if (c == '\n')
      break;
    line.push_back(static_cast<char>(c));
  }
  if (ended && line.empty())
    return std::nullopt;
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

}  // namespace

void WriteText(std::FILE* stream, std::string_view text) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream); console != INVALID_HANDLE_VALUE) {
    std::fflush(stream);
    const std::wstring wide = base::FromUtf8(text);
    for (size_t done = 0; done < wide.size();) {
      DWORD written = 0;
      const auto piece = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
      if (!WriteConsoleW(console, wide.data() + done, piece, &written, nullptr) || written == 0)
        break;
      done += written;
    }
    return;
  }
#endif
  std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintText(std::FILE* stream, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  if (length > 0) {
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, arguments);
    WriteText(stream, std::string_view(text.data(), static_cast<size_t>(length)));
  }
  va_end(arguments);
}

std::optional<std::string> ReadLine(std::FILE* stream) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream); console != INVALID_HANDLE_VALUE) {
    std::wstring line;
    bool ended = true;
    for (;;) {
      wchar_t c = 0;
      DWORD read = 0;
      if (!ReadConsoleW(console, &c, 1, &read, nullptr) || read == 0)
        break;
      ended = false;
      if (c == L'\n')
        break;
      if (c != L'\r')
        line.push_back(c);
    }
    if (ended && line.empty())
      return std::nullopt;
    std::string text = base::ToUtf8(line);
    SecureWipe(line.data(), line.size() * sizeof(wchar_t));
    return text;
  }
#endif
  return ReadBytes(stream);
}

}  // namespace vtq::cli
