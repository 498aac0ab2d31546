#pragma once
// What vtq writes and reads at its streams, in UTF-8 inside. A Windows
// console shows text in its own code page, where every name outside it
// would become "?": there the text goes through WriteConsoleW and a typed
// line comes from ReadConsoleW. Files and pipes get the UTF-8 bytes, as
// they do natively.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#ifdef __MINGW_PRINTF_FORMAT
#define VTQ_PRINTF_FORMAT(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define VTQ_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

namespace vtq::cli {

void WriteText(std::FILE* stream, std::string_view text);
void PrintText(std::FILE* stream, const char* format, ...) VTQ_PRINTF_FORMAT(2, 3);

enum class LineEnd { kLine, kNothing, kTooLong };
// One line into `line` (wiped first), its line end ("\n", "\r\n") dropped:
// kNothing when the input ended before anything was read, kTooLong (and
// `line` wiped) past `longest` bytes, so that a line that never ends stops
// there. The room for the longest line is taken first, so the text never
// moves to a larger buffer and leaves no copy behind in memory given back.
// `next` gives a byte or EOF.
LineEnd ReadLine(const std::function<int()>& next, std::string& line, size_t longest);
// The same from `stream`; at a Windows console the typed line comes from
// ReadConsoleW, in UTF-8.
LineEnd ReadLine(std::FILE* stream, std::string& line, size_t longest);

}  // namespace vtq::cli
