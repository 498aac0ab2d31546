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

LineEnd ReadLine(const std::function<int()>& next, std::string& line, size_t longest) {
  SecureWipe(line);
  line.reserve(longest + 1);
  int c = next();
  if (c == EOF)
    return LineEnd::kNothing;
  for (; c != EOF && c != '\n'; c = next()) {
    // One more than the longest may be the "\r" of a "\r\n".
    if (line.size() > longest) {
      SecureWipe(line);
      return LineEnd::kTooLong;
    }
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  if (line.size() > longest) {
    SecureWipe(line);
    return LineEnd::kTooLong;
  }
  return LineEnd::kLine;
}

LineEnd ReadLine(std::FILE* stream, std::string& line, size_t longest) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream); console != INVALID_HANDLE_VALUE) {
    SecureWipe(line);
    // A character is one byte of UTF-8 or more: more characters than bytes
    // allowed is too long already.
    std::wstring typed;
    typed.reserve(longest + 2);
    bool ended = true;
    for (;;) {
      wchar_t c = 0;
      DWORD read = 0;
      if (!ReadConsoleW(console, &c, 1, &read, nullptr) || read == 0)
        break;
      ended = false;
      if (c == L'\n')
        break;
      if (c == L'\r')
        continue;
      if (typed.size() > longest)
        break;
      typed.push_back(c);
    }
    LineEnd end = LineEnd::kLine;
    if (ended)
      end = LineEnd::kNothing;
    else if (typed.size() > longest)
      end = LineEnd::kTooLong;
    else
      line = base::ToUtf8(typed);
    SecureWipe(typed.data(), typed.capacity() * sizeof(wchar_t));
    if (end == LineEnd::kLine && line.size() > longest) {
      SecureWipe(line);
      end = LineEnd::kTooLong;
    }
    return end;
  }
#endif
  return ReadLine([stream] { return std::fgetc(stream); }, line, longest);
}

}  // namespace vtq::cli
